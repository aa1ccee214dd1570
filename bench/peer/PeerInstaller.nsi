; A peer installer for bench/run-peer-bench: it puts the same files where the installation run
; puts them (the two programs, the data file twice, the removal list, five shortcuts and the
; uninstall entry), so that a whole silent installation can be set beside ours.
;   makensis -DCLIENT=<file> -DUNINSTALLER=<file> -DDATAFILE=<file> -DINSTALL_DIR=<folder>
;            -DOUTFILE=<file> PeerInstaller.nsi
; Run it as: PeerInstaller.exe /S (the folder is built in: Wine would quote a /D= with blanks,
; which the installer does not accept).
Unicode true
Target amd64-unicode
; The payloads travel as zlib streams, as ours do.
SetCompressor zlib
Name "Pelmora P2P"
OutFile "${OUTFILE}"
InstallDir "${INSTALL_DIR}"
RequestExecutionLevel user

!include "${__FILEDIR__}/PeerFiles.nsh"
