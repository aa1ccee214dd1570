; The peer's graphical installer for bench/run-startup-bench: the modern wizard of NSIS (welcome,
; licence, folder, progress and finish pages) around the same payloads and files as
; PeerInstaller.nsi, so that the time to its first page can be set beside our wizard's.
;   makensis -DCLIENT=<file> -DUNINSTALLER=<file> -DDATAFILE=<file> -DLICENCE=<file>
;            -DINSTALL_DIR=<folder> -DOUTFILE=<file> PeerWizard.nsi
; Its window's caption is "Pelmora P2P Setup".
Unicode true
Target amd64-unicode
SetCompressor zlib
Name "Pelmora P2P"
OutFile "${OUTFILE}"
InstallDir "${INSTALL_DIR}"
RequestExecutionLevel user

!include "MUI2.nsh"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

!include "${__FILEDIR__}/PeerFiles.nsh"
