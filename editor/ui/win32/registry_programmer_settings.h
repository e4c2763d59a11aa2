// The programmer settings of "Программатор..." kept per user, as Windows programs keep theirs:
// values under HKEY_CURRENT_USER\Software\Facetor. Facetor.ini stays read-only.
#pragma once

#include "editor/clock/programmer.h"

namespace facetor::win32 {

class RegistryProgrammerSettings : public clock::ProgrammerSettingsStore {
  public:
    clock::ProgrammerSettings load() override;
    void save(const clock::ProgrammerSettings& settings) override;
};

}  // namespace facetor::win32
