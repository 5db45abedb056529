; Measuring peer for scripts/bench: the smallest usual NSIS Modern UI 2
; installer (welcome, directory, progress and finish pages) carrying one payload file.
;   makensis -DPAYLOAD=FILE -DOUTFILE=OUT.exe [-DSTORED] [-DTARGET=amd64-unicode] mui2.nsi
!ifndef PAYLOAD | OUTFILE
  !error "define PAYLOAD and OUTFILE"
!endif
!ifdef TARGET
  Target ${TARGET}
!endif
Unicode true
!ifdef STORED
  SetCompress off
!else
  SetCompressor /FINAL zlib
!endif

!include "MUI2.nsh"

Name "Velora"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Corvane Network\Velora (NSIS)"
RequestExecutionLevel user

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Velora"
  SetOutPath "$INSTDIR"
  File "/oname=setup.exe" "${PAYLOAD}"
SectionEnd
