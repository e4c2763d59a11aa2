"""The release zip as a user gets it: scripts/package builds it, it is unpacked into an empty
folder, both programs start from that folder under Wine, their version resources and the user
guide agree with the version in the zip's name, and the guide stands on its own.

Environment (set by scripts/test): LCT_BUILD_DIR (the MinGW build folder, which holds
uidriver.exe and version_reader.exe), LCT_SOURCE_DIR, WINEPREFIX, DISPLAY.
"""

import base64
import html.parser
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import uidriver  # noqa: E402

ZIP_NAME = re.compile(r"lcd-clock-tools-(\d+)\.(\d+)\.(\d+)-win64\.zip")
GUIDE = "Руководство.html"
RELEASE_FILES = {"Facetor.exe", "Portwand.exe", "Portwand.com", "Facetor.ini", GUIDE,
                 "LICENSE.txt"}

# Facetor's save button, its capture box and first letter key, Portwand's status label.
SAVE_BUTTON, CAPTURE, FIRST_LETTER_KEY, HOURS_BUTTON = 3005, 360, 2057, 2001
STATUS_LABEL = 51
SAVED_FILES = {"chronotherm_lcd_m168_ru.eep": 1273, "chronotherm_lcd_m168.bin": 512}

package = {}  # filled once by setUpModule: zip path, version, top folder, unpacked folder


def setUpModule():
    run = subprocess.run([os.path.join(uidriver.source_dir(), "scripts", "package")],
                         stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=1800)
    if run.returncode != 0:
        raise RuntimeError(f"scripts/package failed:\n{run.stdout[-3000:]}\n{run.stderr[-3000:]}")
    path = run.stdout.strip().splitlines()[-1]
    match = ZIP_NAME.fullmatch(os.path.basename(path))
    if not match or not os.path.isfile(path):
        raise RuntimeError(f"the last line of scripts/package names no release zip: {path!r}")
    base = os.path.join(uidriver.build_dir(), "package-test")
    shutil.rmtree(base, ignore_errors=True)
    os.makedirs(base)
    folder = tempfile.mkdtemp(prefix="unpacked-", dir=base)
    with zipfile.ZipFile(path) as archive:
        archive.extractall(folder)
    version = ".".join(match.groups())
    top = f"lcd-clock-tools-{version}"
    package.update(zip=path, version=version, numbers=tuple(int(n) for n in match.groups()),
                   top=top, folder=os.path.join(folder, top),
                   unpacked=sorted(os.listdir(folder)),
                   unpacked_files=sorted(os.listdir(os.path.join(folder, top))))


# A comment, a string literal (of any character type), or a character literal of C++.
CPP_TOKEN = re.compile(r"(//[^\n]*|/\*.*?\*/)"
                       r'|(?:u8|u|U|L)?"((?:[^"\\\n]|\\.)*)"'
                       r"|'(?:[^'\\\n]|\\.)*'", re.S)
ESCAPES = {"n": "\n", "t": "\t", "0": "\n", "\\": "\\", '"': '"', "'": "'"}


def program_texts(source):
    """Every text of the programs, read from their sources: string literals written one after
    another are one text, as the compiler joins them. (Their files cannot serve: the compiler
    builds short texts out of instructions.) Two forms: blanks run into one space (for captions)
    and line ends into one space (for messages); a menu's access-key mark dropped."""
    texts = []
    for program in ("editor", "console"):
        for folder, _, files in os.walk(os.path.join(source, program)):
            for name in files:
                if not name.endswith((".cpp", ".h", ".rc")):
                    continue
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    code = f.read()
                end, text = None, None
                for token in CPP_TOKEN.finditer(code):
                    if token.group(1) or token.group(2) is None:
                        continue
                    piece = re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)),
                                   token.group(2))
                    if text is not None and code[end:token.start()].strip() == "":
                        text += piece
                    else:
                        if text is not None:
                            texts.append(text)
                        text = piece
                    end = token.end()
                if text is not None:
                    texts.append(text)
    texts = [re.sub(r"&(.)", r"\1", t).replace("\xa0", " ") for t in texts]
    return ("\x1f".join(re.sub(r"\s+", " ", t) for t in texts),
            "\x1f".join(re.sub(r"\s*\n\s*", " ", t) for t in texts))


class ZipContents(unittest.TestCase):

    def test_one_folder_with_the_release_files_and_nothing_else(self):
        top = package["top"]
        with zipfile.ZipFile(package["zip"]) as archive:
            names = archive.namelist()
            guide = archive.getinfo(f"{top}/{GUIDE}")
        self.assertEqual(sorted(names), sorted([f"{top}/"] + [f"{top}/{f}" for f in RELEASE_FILES]))
        # Explorer reads a name without the UTF-8 flag in the OEM code page: a garbled guide name.
        self.assertTrue(guide.flag_bits & 0x800, "the guide's name is not flagged as UTF-8")
        # As unpacked, before the programs below write into the folder.
        self.assertEqual(package["unpacked"], [top])
        self.assertEqual(package["unpacked_files"], sorted(RELEASE_FILES))

    def read(self, unpacked, original):
        with open(os.path.join(package["folder"], unpacked), "rb") as f:
            got = f.read()
        with open(os.path.join(uidriver.source_dir(), original), "rb") as f:
            return got, f.read()

    def test_settings_and_licence_are_the_repository_files(self):
        got, original = self.read("Facetor.ini", "editor/Facetor.ini")
        self.assertEqual(got, original)
        # The licence with Windows line ends, so that every Notepad shows its lines.
        got, original = self.read("LICENSE.txt", "LICENSE")
        self.assertEqual(got.count(b"\n"), got.count(b"\r\n"), "a line end without CR")
        self.assertEqual(got.replace(b"\r\n", b"\n"), original.replace(b"\r\n", b"\n"))

    def test_programs_import_no_thread_context_functions(self):
        """Suspending threads and rewriting their context is what antivirus heuristics look for;
        single-threaded programs have no use for it."""
        for exe in ("Facetor.exe", "Portwand.exe", "Portwand.com"):
            with self.subTest(exe):
                run = subprocess.run(["x86_64-w64-mingw32-objdump", "-p",
                                      os.path.join(package["folder"], exe)],
                                     capture_output=True, text=True, check=True, timeout=60)
                table = run.stdout[run.stdout.index("The Import Tables"):]
                imported = set(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\w+)$", table, re.M))
                self.assertIn("GetModuleHandleW", imported, "the import table was not read")
                self.assertEqual(
                    imported & {"SuspendThread", "GetThreadContext", "SetThreadContext"}, set())


class VersionResources(unittest.TestCase):

    def read(self, exe):
        reader = os.path.join(uidriver.build_dir(), "tests", "package", "version_reader.exe")
        program = uidriver.windows_path(os.path.join(package["folder"], exe))
        run = subprocess.run([uidriver.WINE, reader, program],
                             env=uidriver.wine_env(), capture_output=True, timeout=120)
        self.assertEqual(run.returncode, 0, f"{exe} has no version resource")
        fixed, strings, icons = None, {}, []
        for line in run.stdout.decode("utf-8").splitlines():
            fields = line.split("\t")
            if fields[0] == "fixed":
                fixed = fields[1:]
            elif fields[0] == "string":
                strings.setdefault(fields[1], {})[fields[2]] = fields[3]
            elif fields[0] == "icon":
                icons.append(fields[1])
        return fixed, strings, icons

    def test_both_programs_carry_the_zip_version(self):
        version = package["version"]
        dotted = ".".join(str(n) for n in package["numbers"]) + ".0"
        for exe in ("Facetor.exe", "Portwand.exe", "Portwand.com"):
            with self.subTest(exe):
                fixed, strings, _ = self.read(exe)
                self.assertEqual(fixed, [dotted, dotted])
                self.assertEqual(list(strings), ["041904b0"], "one translation: Russian, Unicode")
                info = strings["041904b0"]
                self.assertEqual(info.get("FileVersion"), version)
                self.assertEqual(info.get("ProductVersion"), version)
                self.assertEqual(info.get("OriginalFilename"), exe)
                self.assertTrue(info.get("ProductName"))
                self.assertRegex(info.get("FileDescription", ""), "[А-Яа-яЁё]",
                                 "the description is in Russian")

    def test_both_icons_come_in_the_sizes_windows_shows(self):
        """16 for the title bar and small lists, 32 for the task bar, 48 for Explorer's icons."""
        for exe in ("Facetor.exe", "Portwand.exe", "Portwand.com"):
            with self.subTest(exe):
                self.assertEqual(sorted(self.read(exe)[2]), ["16x16", "32x32", "48x48"])


class ProgramsStartFromTheFolder(unittest.TestCase):

    def start(self, exe, title):
        process = uidriver.launch(os.path.join(package["folder"], exe), package["folder"])
        self.addCleanup(uidriver.stop, process)
        ui = uidriver.UiDriver()
        self.addCleanup(ui.close_driver)
        ui.attach(title, 60000)
        return process, ui

    def close(self, process, ui):
        ui.close()
        ui.wait_closed(10000)
        self.assertEqual(process.wait(timeout=20), 0)

    def test_facetor_finds_its_settings_and_saves_into_the_folder(self):
        process, ui = self.start("Facetor.exe", "Facetor")
        ready = uidriver.wait_until(
            lambda: ui.msgbox(0) is not None or (ui.focus() == CAPTURE and ui.text(
                FIRST_LETTER_KEY) != "" and ui.text(HOURS_BUTTON) != ""), timeout=30)
        self.assertIsNone(ui.msgbox(0), "a message at start-up although Facetor.ini is there")
        self.assertTrue(ready, "Facetor did not finish its start-up")

        ui.click(SAVE_BUTTON)
        sizes = lambda: {name: os.path.getsize(os.path.join(package["folder"], name))
                         for name in SAVED_FILES
                         if os.path.exists(os.path.join(package["folder"], name))}
        uidriver.wait_until(lambda: sizes() == SAVED_FILES, timeout=10)
        self.assertEqual(sizes(), SAVED_FILES)
        self.assertIsNone(ui.msgbox(0))
        self.close(process, ui)

    def test_portwand_starts_and_keeps_its_port_in_the_folder(self):
        settings = os.path.join(package["folder"], "Portwand.ini")
        process, ui = self.start("Portwand.exe", "Portwand")
        self.assertTrue(uidriver.wait_until(
            lambda: ui.text(STATUS_LABEL) not in ("", "Открытие..."), timeout=15),
                        "the trial opening of the port showed no outcome")
        self.assertIsNone(ui.msgbox(0))
        self.close(process, ui)
        self.assertTrue(os.path.isfile(settings), "Portwand.ini was not written into the folder")


class CommandLineProgram(unittest.TestCase):

    def portwand(self, arguments, output=subprocess.PIPE):
        """"Portwand" typed at a prompt in the folder (cmd.exe takes Portwand.com), on a Russian
        Windows."""
        env = dict(uidriver.wine_env(), LC_ALL="ru_RU.UTF-8")
        return subprocess.run([uidriver.WINE, "cmd", "/c", f"Portwand {arguments}".strip()],
                              cwd=package["folder"], env=env, stdin=subprocess.DEVNULL,
                              stdout=output, stderr=output, timeout=120)

    def test_portwand_on_the_command_line_is_the_console_program_beside_the_window_one(self):
        run = self.portwand("/?")
        self.assertEqual(run.returncode, 0)
        self.assertTrue(run.stdout.decode("cp866").startswith("Использование: Portwand /sync"),
                        run.stdout)
        # Without arguments it starts the window program and does not wait for it. (Under Wine
        # the window program would hold on to the pipes of the output.)
        self.assertEqual(self.portwand("", output=subprocess.DEVNULL).returncode, 0)
        ui = uidriver.UiDriver()
        self.addCleanup(ui.close_driver)
        ui.attach("Portwand", 60000)
        ui.close()
        ui.wait_closed(10000)
        # The port it writes at exit is left for the test of the window program to find.
        settings = os.path.join(package["folder"], "Portwand.ini")
        self.assertTrue(uidriver.wait_until(lambda: os.path.exists(settings), timeout=10))
        os.remove(settings)


class UserGuide(unittest.TestCase):
    """Well-formed HTML without scripts that names no remote address and only files of the zip."""

    VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
            "track", "wbr"}
    ACTIVE = {"script", "iframe", "object", "embed", "applet", "frame", "frameset"}

    class Reader(html.parser.HTMLParser):

        def __init__(self):
            super().__init__(convert_charrefs=True)
            self.open = []
            self.faults = []
            self.ids = set()
            self.references = []  # (tag, attribute, value)
            self.text = []
            self.charset = None

        def handle_starttag(self, tag, attrs):
            for name, value in attrs:
                if name == "id":
                    self.ids.add(value)
                if name in ("href", "src"):
                    self.references.append((tag, name, value or ""))
                if name.startswith("on"):
                    self.faults.append(f"<{tag} {name}=...>: an event handler")
                if name == "charset":
                    self.charset = value
            if tag in UserGuide.ACTIVE:
                self.faults.append(f"<{tag}>: active content")
            if tag not in UserGuide.VOID:
                self.open.append((tag, self.getpos()))

        def handle_startendtag(self, tag, attrs):
            if tag not in UserGuide.VOID:
                self.faults.append(f"<{tag}/> at line {self.getpos()[0]}: not a void element")
            self.handle_starttag(tag, attrs)
            if tag not in UserGuide.VOID:
                self.open.pop()

        def handle_endtag(self, tag):
            if not self.open or self.open[-1][0] != tag:
                expected = self.open[-1] if self.open else None
                self.faults.append(f"</{tag}> at line {self.getpos()[0]}, open: {expected}")
                return
            self.open.pop()

        def handle_data(self, data):
            self.text.append(data)

    class Quotations(html.parser.HTMLParser):
        """Every quotation is a <q>, every message quoted whole a <span class="msg">; the class
        "win" marks Windows' own texts and "ext" those of other programs (avrdude, Zadig), which
        no source here holds. Inside a quotation <var> stands for what the program fills in."""

        def __init__(self):
            super().__init__(convert_charrefs=True)
            self.open = []  # (tag, the quotation it starts or None, in a foreign text)
            self.quotes = []  # (tag, text with \0 for each <var>, line)
            self.stray = []  # lines with a « or » outside a quotation

        def handle_starttag(self, tag, attrs):
            classes = set((dict(attrs).get("class") or "").split())
            foreign = bool(classes & {"win", "ext"}) or any(f for _, _, f in self.open)
            quoting = any(q is not None for _, q, _ in self.open)
            starts = (tag == "q" or (tag == "span" and "msg" in classes)) and not quoting
            quote = [tag, "", self.getpos()[0]] if starts else None
            if tag in UserGuide.VOID:
                return
            if tag == "q" and quoting:
                self.inner("«")
            self.open.append((tag, quote, foreign))

        def handle_endtag(self, tag):
            if not self.open or self.open[-1][0] != tag:
                return  # the Reader reports it
            _, quote, foreign = self.open.pop()
            if quote is not None and not foreign:
                self.quotes.append(tuple(quote))
            elif tag == "q" and quote is None:
                self.inner("»")
            elif tag == "var":
                self.inner("\0")

        def inner(self, text):
            for _, quote, _ in self.open:
                if quote is not None:
                    quote[1] += text

        def handle_data(self, data):
            if any(tag in ("var", "style") for tag, _, _ in self.open):
                return
            if not any(q is not None for _, q, _ in self.open):
                if "«" in data or "»" in data:
                    self.stray.append(self.getpos()[0])
                return
            self.inner(data)

    @classmethod
    def setUpClass(cls):
        with zipfile.ZipFile(package["zip"]) as archive:
            cls.source = archive.read(f"{package['top']}/{GUIDE}").decode("utf-8")
        cls.reader = cls.Reader()
        cls.reader.feed(cls.source)
        cls.reader.close()

    def test_well_formed_without_active_content(self):
        self.assertTrue(self.source.lstrip().lower().startswith("<!doctype html>"))
        self.assertEqual((self.reader.charset or "").lower(), "utf-8")
        self.assertEqual(self.reader.faults, [])
        self.assertEqual(self.reader.open, [], "elements left open")
        self.assertNotIn("javascript:", self.source.lower())

    def test_needs_nothing_but_itself_and_the_zip(self):
        without_pictures = re.sub(r"data:[^\"']*", "", self.source)
        self.assertNotRegex(without_pictures, r"(?i)(https?:|ftp:|file:)?//[a-z0-9]",
                            "a remote address")
        pictures = 0
        for tag, attribute, value in self.reader.references:
            with self.subTest(tag=tag, value=value[:40]):
                if value.startswith("data:"):
                    self.assertTrue(value.startswith("data:image/png;base64,"))
                    png = base64.b64decode(value.split(",", 1)[1], validate=True)
                    self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
                    pictures += 1
                elif value.startswith("#"):
                    self.assertIn(value[1:], self.reader.ids, "a link to no heading")
                else:
                    self.assertIn(value, RELEASE_FILES, "names a file that is not in the zip")
        self.assertGreaterEqual(pictures, 2, "the pictures of both windows")

    def test_quotes_only_texts_the_programs_have(self):
        """A caption or message the guide quotes is found, word for word, in one of the programs;
        a menu's access-key mark aside, and for a caption the line breaks too."""
        quotations = self.Quotations()
        quotations.feed(self.source)
        self.assertEqual(quotations.stray, [], "quotation marks outside <q>: lines of the guide")
        self.assertGreater(len(quotations.quotes), 100, "the guide's quotations were not found")
        texts = program_texts(uidriver.source_dir())
        missing = []
        for tag, text, line in quotations.quotes:
            # A message keeps its spaces; a caption is run into the guide's lines.
            blanks = r"\s*\n\s*" if tag == "span" else r"\s+"
            for piece in text.replace("\xa0", " ").split("\0"):
                piece = re.sub(blanks, " ", piece).strip()
                if piece and piece not in texts[tag == "span"]:
                    missing.append(f"line {line}: {piece}")
        if missing:
            self.fail("quoted in the guide, but in none of the programs:\n" + "\n".join(missing))

    def test_names_the_release_version(self):
        self.assertIn(package["version"], "".join(self.reader.text))
        self.assertNotIn("@VERSION@", self.source)


if __name__ == "__main__":
    unittest.main()
