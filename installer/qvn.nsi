; The program's installer and uninstaller, for the 32-bit (shipping) and the 64-bit build.
; installer/make-setup runs makensis on this file; it defines:
;   ARCH           x86 or x64
;   PROGRAM        the built QvnClient.exe (its manifest and icon are embedded resources)
;   OUTFILE        the installer to write
;   RUNTIME_FILES  optional: a generated include with the macros InstallRuntimeFiles and
;                  RemoveRuntimeFiles, listing the operator's runtime folder file by file
; The runtime library, the updater and the stand-ins are never packaged here: the runtime
; comes only through RUNTIME_FILES, and the updater deploys its own files.

Unicode true
!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "QVN 분석프로그램"
; The folder's name is ASCII: a shortcut's target and older tools such as the updater may
; still read the path through the ANSI code page, which need not hold Hangul.
!define FOLDER "QVN Client"
!define VERSION "1.0.0"
!define PUBLISHER "QVN"
!define PROGRAM_FILE "QvnClient.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QvnClient"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!ifndef ARCH
  !error "ARCH must be defined (installer/make-setup defines it)"
!endif
!ifndef PROGRAM
  !error "PROGRAM must be defined (installer/make-setup defines it)"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined (installer/make-setup defines it)"
!endif

; Both installers install for the user who runs them, into the same folder with the same
; entry, so that one installs over the other; a machine-wide installation from before is
; left as it is.
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else if "${ARCH}" == "x86"
  Target x86-unicode
!else
  !error "ARCH must be x86 or x64"
!endif

!ifdef RUNTIME_FILES
  !include "${RUNTIME_FILES}"
!else
  !macro InstallRuntimeFiles
  !macroend
  !macro RemoveRuntimeFiles
  !macroend
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${FOLDER}"
; A reinstallation goes where the last one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; Per user: the program, its runtime and the runtime's cache beside it (cookies and cached
; pages of the service) belong to this user alone, and no administrator is needed.
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"

; The shortcut is the user's own, as the program folder is.
Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM_FILE}" "${PROGRAM}"
  !insertmacro InstallRuntimeFiles
  SetOutPath "$INSTDIR"
  ; The runtime's cache folder, beside the program and so the user's own.
  CreateDirectory "$INSTDIR\cache"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM_FILE}" "" "$INSTDIR\${PROGRAM_FILE}" 0
  Call WriteUninstallEntry
SectionEnd

; The entry in the list of installed programs, in the user's own hive.
Function WriteUninstallEntry
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\${PROGRAM_FILE}$\",0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; Removes what the installer put there and nothing else: files the updater or the user added
; keep the folder, which then stays.
Section "Uninstall"
  Delete "$INSTDIR\${PROGRAM_FILE}"
  !insertmacro RemoveRuntimeFiles
  ; The runtime's "cache" folder holds the program's own data, not the user's, so it goes
  ; with the program.
  RMDir /r "$INSTDIR\cache"
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
