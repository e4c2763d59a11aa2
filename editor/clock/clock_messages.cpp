#include "editor/clock/clock_messages.h"

#include <cstdio>

namespace facetor::clock {
namespace {

std::string hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string signatureText(std::uint32_t signature) {
    const std::string digits = hex(signature, 6);
    return digits.substr(0, 2) + " " + digits.substr(2, 2) + " " + digits.substr(4, 2);
}

std::string addressText(const Verdict& verdict) {
    return verdict.address ? " (первое различие по адресу 0x" + hex(*verdict.address, 3) + ")"
                           : std::string();
}

std::string backupLine(const ResultContext& context) {
    if (context.backup.empty()) {
        return {};
    }
    std::string line = "\n\nПрежнее содержимое EEPROM сохранено в файле:\n" + context.backup;
    if (context.backup.ends_with(".eep")) {
        line += "\n(его открывает «Открыть файл...»; рядом тот же образ в .bin для avrdude)";
    }
    return line;
}

// A write that began and did not end well leaves the EEPROM in between. Cut off by the user,
// there is no cause to mend first.
std::string partlyWritten(const Verdict& verdict, const ResultContext& context,
                          bool cancelled = false) {
    if (!verdict.writeBegan) {
        return backupLine(context);
    }
    if (cancelled) {
        return "\n\nEEPROM часов мог остаться записанным частично: запишите скины ещё раз." +
               backupLine(context);
    }
    return "\n\nEEPROM часов мог остаться записанным частично: запишите скины ещё раз, когда "
           "причина устранена." +
           backupLine(context);
}

std::string programmerName(const ResultContext& context) {
    return std::string(programmerInfo(context.settings.programmer).name);
}

std::string notFound(const ResultContext& context) {
    std::string text = "Программатор " + programmerName(context) +
                       " не найден.\n\nПроверьте, что он вставлен в USB-порт компьютера и что "
                       "кабель исправен.";
    if (context.settings.programmer == ProgrammerKind::Usbasp) {
        text +=
            " Некоторые клоны USBasp отзываются только как «USBasp (клон)» — выберите его в "
            "окне «Программатор».";
    }
    return text +
           "\n\nВ Windows программатору нужен драйвер libusb (WinUSB, libusbK или "
           "libusb-win32); его устанавливают программой Zadig.";
}

std::string noSync(const ResultContext& context) {
    const std::string& port = context.settings.port;
    if (context.settings.programmer == ProgrammerKind::ArduinoAsIsp) {
        return "Arduino на порту " + port +
               " не отвечает как программатор.\n\nПроверьте, что в Arduino загружен скетч "
               "ArduinoISP, что выбран именно его COM-порт и что сброс Arduino при открытии "
               "порта погашен конденсатором (около 10 мкФ между RESET и GND).";
    }
    if (!programmerInfo(context.settings.programmer).serial) {
        return "Программатор " + programmerName(context) +
               " не отвечает.\n\nОтключите его от USB, подключите снова и повторите.";
    }
    return "Загрузчик часов не отвечает на порту " + port +
           ".\n\nПроверьте скорость в окне «Программатор» (старые загрузчики ATmega168 "
           "работают на 19200, Optiboot — на 115200), что в часах вообще есть загрузчик и что "
           "часы перезапускаются при открытии порта (линия DTR); если нет — нажмите на часах "
           "сброс сразу после команды.";
}

std::string targetSilent(const ResultContext& context) {
    std::string text = "Программатор " + programmerName(context) +
                       " работает, но микроконтроллер часов не отвечает.\n\nПроверьте ISP-кабель "
                       "(и как он вставлен) и питание часов.";
    if (!programmerInfo(context.settings.programmer).isp) {
        return text;
    }
    return text + (context.settings.slowMode
                       ? " «Медленный режим» уже включён."
                       : " Если не поможет, включите «Медленный режим» в окне «Программатор».");
}

std::string written(const ResultContext& context) {
    std::string text = "Скины записаны в часы и проверены.";
    if (context.as168P) {
        text += "\n\nМикроконтроллер часов — ATmega168P; запись сделана для него.";
    }
    return text + backupLine(context) +
           "\n\nЗапись перезапустила часы: установите время заново — в Portwand клавишей F5 "
           "(«Синхронизировать всё» в системном меню окна).";
}

}  // namespace

std::string versionText(std::string_view version) {
    return "Версия: " + std::string(version);
}

std::string_view jobTitle(JobKind job) {
    return job == JobKind::Write ? "Запись в часы" : "Чтение из часов";
}

std::string_view phaseText(Phase phase) {
    switch (phase) {
        case Phase::Connecting:
            return "Подключение к часам...";
        case Phase::Backup:
            return "Резервная копия EEPROM...";
        case Phase::Writing:
            return "Запись скинов...";
        case Phase::Verifying:
            return "Проверка...";
        case Phase::Reading:
            return "Чтение EEPROM...";
    }
    return {};
}

std::string preparationFailed(std::string_view folder, std::string_view reason) {
    return "Не удалось подготовить файлы для avrdude в папке\n" + std::string(folder) + "\n" +
           std::string(reason);
}

std::string resultText(JobKind job, const Verdict& verdict, const ResultContext& context) {
    switch (verdict.outcome) {
        case Outcome::Written:
            return written(context);
        case Outcome::Read:
            return "EEPROM часов прочитан.";
        case Outcome::CouldNotStart:
            return "Не удалось запустить avrdude.\n" + context.systemError +
                   "\n\nПроверьте файл avrdude.exe в окне «Программатор».";
        case Outcome::ProgrammerNotFound:
            return notFound(context);
        case Outcome::UsbDriver:
            return "Программатор " + programmerName(context) +
                   " подключён, но Windows не даёт к нему доступа: у него нет подходящего "
                   "драйвера.\n\nУстановите драйвер программой Zadig (WinUSB, libusbK или "
                   "libusb-win32) и повторите.";
        case Outcome::PortNotOpened:
            return "Не удалось открыть порт " + context.settings.port +
                   (context.portError.empty() ? "" : ": " + context.portError) +
                   "\n\nПорт занят другой программой (закройте Portwand и монитор порта Arduino "
                   "IDE) или выбран не тот COM-порт — проверьте его в окне «Программатор».";
        case Outcome::NoSync:
            return noSync(context) + partlyWritten(verdict, context);
        case Outcome::TargetSilent:
            return targetSilent(context);
        case Outcome::Is168P:
        case Outcome::WrongChip:
            return "Микроконтроллер отвечает сигнатурой " +
                   (verdict.signature ? signatureText(*verdict.signature) : std::string("?")) +
                   " — это не ATmega168.\n\n" +
                   (job == JobKind::Write
                        ? "Facetor записывает скины только в ATmega168 и ATmega168P; ничего не "
                          "записано."
                        : "Facetor читает скины только из ATmega168 и ATmega168P.") +
                   " Проверьте, те ли часы подключены.";
        case Outcome::VerifyFailed:
            return "Проверка не прошла: EEPROM часов не совпадает с записанным" +
                   addressText(verdict) +
                   ".\n\nТак бывает с загрузчиком, который не умеет записывать EEPROM: "
                   "запишите скины ISP-программатором (USBasp и другие)." +
                   backupLine(context);
        case Outcome::ReadBackDiffers:
            return "Прочитанное из часов после записи не совпадает со скинами" +
                   addressText(verdict) +
                   ", различаются байт: " + std::to_string(verdict.differingBytes) +
                   ".\n\nЗапишите ещё раз; если не поможет, запишите скины "
                   "ISP-программатором." +
                   backupLine(context);
        case Outcome::GapChanged:
            return "Скины записаны, но avrdude изменил и служебную область EEPROM "
                   "(0x1B0–0x1EF), которую Facetor не записывает" +
                   addressText(verdict) +
                   ".\n\nВерните её из резервной копии (avrdude -U eeprom:w:ФАЙЛ:r) и "
                   "обновите avrdude до версии 7 или новее." +
                   backupLine(context);
        case Outcome::Cancelled:
            return std::string(job == JobKind::Write ? "Запись отменена." : "Чтение отменено.") +
                   partlyWritten(verdict, context, true);
        case Outcome::Silent:
            return "avrdude ничего не сообщал 20 секунд, и Facetor его остановил.\n\n"
                   "Похоже, программатор или загрузчик завис: отключите и снова подключите "
                   "его и повторите." +
                   partlyWritten(verdict, context);
        case Outcome::NotResponding:
            return "Программатор трижды не ответил во время записи, и Facetor остановил "
                   "avrdude.\n\nПроверьте кабель и питание часов и запишите ещё раз." +
                   partlyWritten(verdict, context);
        case Outcome::TooLong:
            return "avrdude работал дольше пяти минут, и Facetor его остановил." +
                   partlyWritten(verdict, context);
        case Outcome::ExitCodeUnknown:
            return "Не удалось узнать, чем закончился avrdude.\n" + context.systemError +
                   "\n\nПрочитайте часы («Прочитать из часов»), чтобы увидеть, что в них." +
                   backupLine(context);
        case Outcome::Failed:
            break;
    }
    if (verdict.exitCode == 0) {  // it said it succeeded, yet a file it read is not all there
        return "avrdude закончил работу, но прочитанный им образ EEPROM неполон. Что он "
               "сообщил, видно по кнопке «Показать журнал»." +
               partlyWritten(verdict, context);
    }
    return "avrdude закончил работу с ошибкой (код " + std::to_string(verdict.exitCode) +
           "). Что он сообщил, видно по кнопке «Показать журнал»." +
           partlyWritten(verdict, context);
}

}  // namespace facetor::clock
