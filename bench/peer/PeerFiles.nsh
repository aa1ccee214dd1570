; What both peer installers put on disk, where the installation run puts it: the two programs,
; the data file twice, the removal list, five shortcuts and the uninstall entry. Needs CLIENT,
; UNINSTALLER and DATAFILE defined.
!define SITE "http://www.pelmora.example.com"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora P2P"

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=Pelmora.Exe" "${CLIENT}"
  File "/oname=Uninstall.Exe" "${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Pelmora P2P"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.Exe"'

  CreateDirectory "$SMPROGRAMS\Pelmora P2P"
  CreateShortCut "$SMPROGRAMS\Pelmora P2P\Pelmora P2P.Lnk" "$INSTDIR\Pelmora.Exe" "" "$INSTDIR\Pelmora.Exe" 0
  CreateShortCut "$SMPROGRAMS\Pelmora P2P\Pelmora P2P On the Web.Lnk" "${SITE}/p2p/"
  CreateShortCut "$SMPROGRAMS\Pelmora P2P\Pelmora P2P Help.Lnk" "${SITE}/p2p/help"
  CreateShortCut "$SMPROGRAMS\Pelmora P2P\Pelmora P2P Uninstall.Lnk" "$INSTDIR\Uninstall.Exe" "" "$INSTDIR\Uninstall.Exe" 0
  CreateShortCut "$DESKTOP\Pelmora P2P.Lnk" "$INSTDIR\Pelmora.Exe" "" "$INSTDIR\Pelmora.Exe" 0

  SetOutPath "$LOCALAPPDATA\Pelmora P2P"
  File "/oname=Pelmora.Dat" "${DATAFILE}"
  SetOutPath "$INSTDIR"
  File "/oname=PMInst.Dat" "${DATAFILE}"

  StrCpy $1 "$LOCALAPPDATA\Pelmora P2P\"
  FileOpen $0 "$INSTDIR\UnInstall.dat" w
  FileWrite $0 "Pelmora P2P$\r$\n"
  FileWrite $0 "<P$1*.PCF>$\r$\n"
  FileWrite $0 "<P$1*.PCV>$\r$\n"
  FileWrite $0 "<P$1*.PTH>$\r$\n"
  FileWrite $0 "<P$1*.DAT>$\r$\n"
  FileWrite $0 "<P$1*.GET>$\r$\n"
  FileWrite $0 "<E$1>$\r$\n"
  FileWrite $0 "<F$INSTDIR\Pelmora.Exe>$\r$\n"
  FileWrite $0 "<F$1Pelmora.dat>$\r$\n"
  FileWrite $0 "<F$1Pelmora.bak>$\r$\n"
  FileWrite $0 "<F$INSTDIR\PMInst.dat>$\r$\n"
  FileWrite $0 "<F$INSTDIR\Uninstall.Exe>$\r$\n"
  FileWrite $0 "<F$INSTDIR\Uninstall.Dat>$\r$\n"
  FileWrite $0 "<E$INSTDIR\>$\r$\n"
  FileWrite $0 "<E$1>$\r$\n"
  FileWrite $0 "<R${UNINSTALL_KEY}>$\r$\n"
  FileWrite $0 "<SPelmora P2P>$\r$\n"
  FileWrite $0 "<TPelmora P2P.Lnk>$\r$\n"
  FileClose $0
SectionEnd
