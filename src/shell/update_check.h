#pragma once
// Before anything else the program asks the updater library beside it whether a newer
// version exists; if so it starts the updater program and asks the application to end.

#include <cstdint>
#include <string>

namespace shell {

inline constexpr char16_t kUpdaterLibrary[] = u"XmlLoader.dll";
inline constexpr char kVersionCompareExport[] = "VersionCmp";
inline constexpr int32_t kNewerVersionExists = 201;
inline constexpr char16_t kUpdaterProgram[] = u"AutoUpdate.exe";
inline constexpr char16_t kUpdaterParameter[] = u"quillmarsh";
inline constexpr char16_t kUnableToLoadDll[] = u"Unable to Load DLL";

// Loads the library by bare name: a missing library is reported with a message box and
// start-up goes on; a library without the export raises the system's last error (the
// library is freed all the same).
void CheckForUpdate(const std::u16string& libraryName = kUpdaterLibrary);

}  // namespace shell
