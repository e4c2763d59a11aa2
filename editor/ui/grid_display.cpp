#include "editor/ui/grid_display.h"

#include <cstdio>

#include "editor/model/lcd_charset.h"
#include "editor/model/text_encoding.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/field_samples.h"

namespace facetor {
namespace {

// Palette weekday names, fixed Russian whatever the Localization, 0 = Sunday.
constexpr std::array<const char*, 7> kPaletteShortWeekdays = {"Вс", "Пн", "Вт", "Ср",
                                                              "Чт", "Пт", "Сб"};
constexpr std::array<const char*, 7> kPaletteFullWeekdays = {
    "Воскресень", "Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота"};

std::string twoDigitNumber(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

}  // namespace

CellTexts composeCellTexts(const SkinDocument& document, const WeekdayTables& names,
                           const LocalDateTime& now) {
    CellTexts texts;
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        texts[id - kFirstCell] =
            displayText(document.cell(static_cast<CellId>(id))).value_or(std::string(kNoGlyphText));
    }
    for (FieldKind kind : kFieldDrawOrder) {
        for (int screen = 0; screen < kScreenCount; ++screen) {
            const FieldPlacement placement = document.placement(kind, screen);
            if (!placement.present()) {
                continue;
            }
            const int anchor = cellIdOf(screen, placement.row, placement.column);
            const auto sample = fieldSample(kind, document.style(kind, screen), names, now);
            for (std::size_t i = 0; i < sample.size(); ++i) {
                const int id = anchor + static_cast<int>(i);
                if (id > kLastCell) {
                    break;
                }
                texts[id - kFirstCell] = sample[i];
            }
        }
    }
    return texts;
}

std::array<PaletteCaption, 8> paletteCaptions(const LocalDateTime& now) {
    const int day = ((now.weekday % 7) + 7) % 7;
    return {{
        {ids::kHoursButton, "Часы(" + twoDigitNumber(now.hour) + ")"},
        {ids::kMinutesButton, "Мин.(" + twoDigitNumber(now.minute) + ")"},
        {ids::kSecondsButton, "Сек.(" + twoDigitNumber(now.second) + ")"},
        {ids::kDayButton, "День(" + twoDigitNumber(now.day) + ")"},
        {ids::kMonthButton, "Месяц(" + twoDigitNumber(now.month) + ")"},
        {ids::kYearButton, "Год(" + std::to_string(now.year - 2000) + ")"},
        {ids::kShortWeekdayButton, kPaletteShortWeekdays[day]},
        {ids::kFullWeekdayButton, kPaletteFullWeekdays[day]},
    }};
}

void GridDisplay::refresh(const SkinDocument& document, const WeekdayTables& names,
                          const LocalDateTime& now) {
    for (const auto& caption : paletteCaptions(now)) {
        controls_.setText(caption.buttonId, caption.utf8);
    }
    texts_ = composeCellTexts(document, names, now);
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        controls_.setText(id, cp1251ToUtf8(texts_[id - kFirstCell]));
    }
}

void GridDisplay::recolour(const SkinDocument& document) {
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        const bool empty = texts_[id - kFirstCell].empty();
        Rgb colour = empty ? kEmptyCellColour : kFilledCellColour;
        if (id == document.cursor()) {
            colour = kCursorCellColour;
        }
        controls_.setBackground(id, colour);
    }
}

}  // namespace facetor
