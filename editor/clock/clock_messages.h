// Every text of writing to and reading from the clock, in Russian (UTF-8): the menu, the dialogs
// "Программатор" and of the progress, and the result of each run with what to do about it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/clock/clock_job.h"
#include "editor/clock/programmer.h"

namespace facetor::clock {

// The menu "Часы", after "Правка" (an "&" before the access key, the shortcut after a tab).
inline constexpr std::string_view kClockMenuCaption = "&Часы";
inline constexpr std::string_view kWriteItem = "&Записать в часы\tCtrl+U";
inline constexpr std::string_view kReadItem = "&Прочитать из часов\tCtrl+Shift+U";
inline constexpr std::string_view kProgrammerItem = "П&рограмматор...";

// The dialog "Программатор".
inline constexpr std::string_view kProgrammerTitle = "Программатор";
inline constexpr std::string_view kProgrammerLabel = "Программатор:";
inline constexpr std::string_view kPortLabel = "COM-порт:";
inline constexpr std::string_view kSpeedLabel = "Скорость:";
inline constexpr std::string_view kSlowMode = "Медленный режим";
inline constexpr std::string_view kSlowModeHint =
    "если часы не отвечают на полной скорости (-B 32)";
inline constexpr std::string_view kAvrdudeLabel = "avrdude:";
inline constexpr std::string_view kBrowse = "Обзор...";
inline constexpr std::string_view kOk = "ОК";  // Cyrillic, as Windows writes it in Russian
inline constexpr std::string_view kCancel = "Отмена";
inline constexpr std::string_view kAvrdudeMissing =
    "avrdude не найден. Укажите avrdude.exe кнопкой «Обзор...» (он есть, например, в Arduino "
    "IDE) или положите его рядом с Facetor.exe.";
inline constexpr std::string_view kProgrammerHint =
    "Выберите программатор, через который часы подключены к компьютеру.";
inline constexpr std::string_view kAvrdudeNotFoundShort = "avrdude не найден";
inline constexpr std::string_view kAvrdudeFilter = "avrdude (avrdude.exe)";
inline constexpr std::string_view kProgramsFilter = "Программы (*.exe)";
inline constexpr std::string_view kVersionAsking = "Версия: определяется...";
inline constexpr std::string_view kVersionUnknown = "Версия: не удалось определить";
std::string versionText(std::string_view version);  // "Версия: 7.1"

// The progress dialog and the result.
std::string_view jobTitle(JobKind job);  // "Запись в часы", "Чтение из часов"
std::string_view phaseText(Phase phase);
inline constexpr std::string_view kStopping = "Остановка avrdude...";
inline constexpr std::string_view kShowLog = "Показать журнал";
inline constexpr std::string_view kLogTitle = "Журнал avrdude";
inline constexpr std::string_view kLogCommand = "Команда:";
inline constexpr std::string_view kLogOutput = "Вывод avrdude:";
// Why the end of the Windows session waits while avrdude writes.
inline constexpr std::string_view kWriteHoldsTheSession =
    "Facetor записывает скины в часы: прерванная запись оставит EEPROM часов записанным "
    "частично.";

// What the result text needs besides the verdict (all UTF-8).
struct ResultContext {
    ProgrammerSettings settings;
    std::string backup;       // the backup's whole path; empty: none was kept
    bool as168P = false;      // the chip was an ATmega168P and was written as one
    std::string portError;    // the system's reason why the port did not open
    std::string systemError;  // the system's text for Verdict::systemError
};

std::string resultText(JobKind job, const Verdict& verdict, const ResultContext& context);

// When there is no avrdude at all, or the files for it cannot be prepared.
inline constexpr std::string_view kNoAvrdude =
    "Не найден avrdude — программа, которая записывает EEPROM часов через программатор.\n\n"
    "Укажите avrdude.exe в окне «Программатор» (кнопка «Обзор...») или положите его рядом с "
    "Facetor.exe. Facetor ищет его также в папках PATH и там, где его держит Arduino IDE.";
inline constexpr std::string_view kNoPort =
    "Не выбран COM-порт программатора: выберите его в окне «Программатор».";
std::string preparationFailed(std::string_view folder, std::string_view reason);

}  // namespace facetor::clock
