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

!if "${ARCH}" == "x64"
  Target amd64-unicode
  InstallDir "$PROGRAMFILES64\${FOLDER}"
!else if "${ARCH}" == "x86"
  Target x86-unicode
  InstallDir "$PROGRAMFILES\${FOLDER}"
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
; A reinstallation goes where the last one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
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

; Installing into the program-files folder and HKLM needs an administrator; without one the
; installer stops before it changes anything, with the code Windows uses for "elevation required".
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT}: 관리자 권한이 필요합니다." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdministrator
  ; The shortcut is for every user of the machine, as the program folder is.
  SetShellVarContext all
FunctionEnd

Function un.onInit
  !insertmacro RequireAdministrator
  SetShellVarContext all
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM_FILE}" "${PROGRAM}"
  !insertmacro InstallRuntimeFiles
  SetOutPath "$INSTDIR"
  Call MakeCacheFolder
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM_FILE}" "" "$INSTDIR\${PROGRAM_FILE}" 0
  Call WriteUninstallEntry
SectionEnd

; The runtime keeps its "cache" folder beside the program, which runs as the user who starts
; it: a standard user may not make a folder under Program Files, so the installer makes it
; and lets the machine's Users group change it and everything it will hold. The group is
; named by its well-known identifier, which holds in every language of Windows.
Function MakeCacheFolder
  CreateDirectory "$INSTDIR\cache"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\cache" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  ${If} $0 != 0
    DetailPrint "icacls: $0"
  ${EndIf}
FunctionEnd

; The entry in the system's list of installed programs.
Function WriteUninstallEntry
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\${PROGRAM_FILE}$\",0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
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
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
