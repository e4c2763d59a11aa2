#include "editor/ui/win32/avrdude_places.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "editor/ui/win32/program_folder.h"

namespace facetor::win32 {
namespace {

class Win32FileProbe : public clock::FileProbe {
  public:
    bool isFile(const std::filesystem::path& path) const override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::vector<std::filesystem::path> subfolders(
        const std::filesystem::path& folder) const override {
        std::vector<std::filesystem::path> found;
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((folder / L"*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            return found;
        }
        do {
            const std::wstring name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." &&
                name != L"..") {
                found.push_back(folder / name);
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
        return found;
    }
};

std::wstring environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

std::vector<std::filesystem::path> pathFolders() {
    std::vector<std::filesystem::path> folders;
    const std::wstring path = environment(L"PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(L';', start), path.size());
        std::wstring folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') {
            folder = folder.substr(1, folder.size() - 2);
        }
        if (!folder.empty()) {
            folders.emplace_back(folder);
        }
        start = end + 1;
    }
    return folders;
}

// avrdude reads its arguments in the ANSI code page: a path to avrdude.conf with letters beyond
// ASCII (a Cyrillic user name) goes in its short 8.3 form where the volume keeps one.
std::filesystem::path withoutWideLetters(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (std::all_of(wide.begin(), wide.end(), [](wchar_t c) { return c < 0x80; })) {
        return path;
    }
    std::wstring shortPath(MAX_PATH, L'\0');
    const DWORD length =
        GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size()) {
        return path;
    }
    shortPath.resize(length);
    return shortPath;
}

}  // namespace

std::optional<clock::FoundAvrdude> findAvrdudeOnThisComputer(const std::filesystem::path& chosen) {
    clock::AvrdudePlaces places{chosen, programFolder(), pathFolders(), {}, {}};
    const std::filesystem::path tools = L"packages\\arduino\\tools\\avrdude";
    if (const std::wstring local = environment(L"LOCALAPPDATA"); !local.empty()) {
        places.versionedFolders.push_back(std::filesystem::path(local) / L"Arduino15" / tools);
    }
    if (const std::wstring profile = environment(L"USERPROFILE"); !profile.empty()) {
        places.versionedFolders.push_back(std::filesystem::path(profile) / L"Documents" /
                                          L"ArduinoData" / tools);
    }
    for (const wchar_t* programs : {L"ProgramFiles(x86)", L"ProgramFiles"}) {
        if (const std::wstring folder = environment(programs); !folder.empty()) {
            places.fixedPrograms.push_back(std::filesystem::path(folder) /
                                           L"Arduino\\hardware\\tools\\avr\\bin\\avrdude.exe");
        }
    }
    std::optional<clock::FoundAvrdude> found = clock::findAvrdude(places, Win32FileProbe());
    if (found && !found->config.empty()) {
        found->config = withoutWideLetters(found->config);
    }
    return found;
}

}  // namespace facetor::win32
