// Prints the version resources of the programs named on the command line as Explorer's
// "Properties" reads them (GetFileVersionInfoW, VerQueryValueW), in UTF-8, one fact a line:
//   file <TAB> path
//   fixed <TAB> file version <TAB> product version          (from VS_FIXEDFILEINFO, a.b.c.d)
//   string <TAB> translation <TAB> name <TAB> value          (for each translation listed)
//   icon <TAB> width x height                                 (each image of the first icon)
// A file without a version resource gives the line "none". Exit code 1 when any file had none.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t* const kStringNames[] = {L"CompanyName",  L"FileDescription", L"FileVersion",
                                       L"InternalName", L"LegalCopyright",  L"OriginalFilename",
                                       L"ProductName",  L"ProductVersion"};

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string dotted(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

bool printVersion(const std::wstring& path) {
    printLine("file\t" + utf8(path));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<unsigned char> data(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data.data())) {
        printLine("none");
        return false;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        printLine("fixed\t" + dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + "\t" +
                  dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &length)) {
        length = 0;
    }
    for (UINT i = 0; i < length / sizeof(Translation); ++i) {
        wchar_t block[16];
        swprintf(block, 16, L"%04x%04x", translations[i].language, translations[i].codePage);
        for (const wchar_t* name : kStringNames) {
            const std::wstring query = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
            wchar_t* value = nullptr;
            UINT chars = 0;
            if (VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value),
                               &chars) &&
                chars > 0) {
                const std::wstring text(value, wcsnlen(value, chars));
                printLine("string\t" + utf8(block) + "\t" + utf8(name) + "\t" + utf8(text));
            }
        }
    }
    return true;
}

// The first icon group is the one Explorer shows; each of its entries is one image size.
BOOL CALLBACK takeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    *reinterpret_cast<LPWSTR*>(found) = name;
    return FALSE;
}

void printIconSizes(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        return;
    }
    LPWSTR first = nullptr;
    EnumResourceNamesW(module, RT_GROUP_ICON, takeFirstName, reinterpret_cast<LONG_PTR>(&first));
    HRSRC group = first ? FindResourceW(module, first, RT_GROUP_ICON) : nullptr;
    const auto* data =
        group ? static_cast<const unsigned char*>(LockResource(LoadResource(module, group)))
              : nullptr;
    if (data) {
        // GRPICONDIR: reserved, type and count (three WORDs), then 14-byte entries that start
        // with width and height bytes, 0 standing for 256.
        const WORD count = *reinterpret_cast<const WORD*>(data + 4);
        for (WORD i = 0; i < count; ++i) {
            const unsigned char* entry = data + 6 + 14 * i;
            printLine("icon\t" + std::to_string(entry[0] ? entry[0] : 256) + "x" +
                      std::to_string(entry[1] ? entry[1] : 256));
        }
    }
    FreeLibrary(module);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool all = true;
    for (int i = 1; i < argc; ++i) {
        all = printVersion(argv[i]) && all;
        printIconSizes(argv[i]);
    }
    std::fflush(stdout);
    return all ? 0 : 1;
}
