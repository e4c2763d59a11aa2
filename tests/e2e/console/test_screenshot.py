"""A picture of Portwand's window with its port open, for the user guide (left in the build
folder as e2e-work/portwand.png; docs/portwand.png is a copy)."""

import os
import subprocess
import unittest

from portwand_e2e import PortwandWindowTest, SerialPair, map_com_ports
import uidriver

SCREENSHOT = os.path.join(uidriver.build_dir(), "e2e-work", "portwand.png")
STATUS_LABEL = 51
OPENED = "Порт открыт"
BLUE = (12, 2, 202)

pair = SerialPair("shot-com5")


def setUpModule():
    pair.start()
    map_com_ports({"COM5": pair.device})


def tearDownModule():
    pair.stop()
    map_com_ports({"COM5": None})


def picture_pixels(path, x, y, width):
    """The colours of a row of pixels of a picture, as (r, g, b)."""
    out = subprocess.run(["convert", path, "-crop", f"{width}x1+{x}+{y}", "+repage", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, check=True).stdout
    pixels = []
    for line in out.splitlines()[1:]:
        rgb = line.split("(")[1].split(")")[0].split(",")[:3]
        pixels.append(tuple(int(float(v)) for v in rgb))
    return pixels


class PortwandPicture(PortwandWindowTest):
    settings = b"port = COM5\r\n"

    def test_window_with_the_port_open(self):
        self.assertTrue(uidriver.wait_until(lambda: self.driver.text(STATUS_LABEL) == OPENED,
                                            timeout=10))
        # The label's repaint after its new text: blue on screen.
        lx, ly, lw, lh = self.driver.rect(STATUS_LABEL)
        self.assertTrue(uidriver.wait_until(
            lambda: any(self.driver.pixel(px, ly + lh // 2) == BLUE for px in range(lx, lx + lw)),
            timeout=5), "the status text is not drawn in blue")

        os.makedirs(os.path.dirname(SCREENSHOT), exist_ok=True)
        raw = SCREENSHOT + ".root.png"
        self.driver.screenshot(raw)
        # The client area stands at the bottom of the window, inside its frame (without a window
        # manager the caption is not drawn, so it is left out).
        x, y, w, h = self.driver.window_rect()
        client_w, client_h = self.driver.client_size()
        border = (w - client_w) // 2
        subprocess.run(["convert", raw, "-crop", f"{client_w}x{client_h}+{x + border}+"
                        f"{y + h - border - client_h}", "+repage", SCREENSHOT], check=True)
        os.remove(raw)

        # The status label, found in the picture where the window puts it: its text in blue.
        lx, ly, lw, lh = self.driver.rect(STATUS_LABEL)
        rows = [picture_pixels(SCREENSHOT, lx, ly + dy, lw) for dy in range(lh)]
        self.assertTrue(any(BLUE in row for row in rows), "no blue status text in the picture")


if __name__ == "__main__":
    unittest.main()
