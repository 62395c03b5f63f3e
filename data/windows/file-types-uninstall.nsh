; Run by the uninstaller: takes back only what the installer wrote.
DeleteRegValue HKCR ".cmd\OpenWithProgids" "KorvethScriptEditor.Script"
DeleteRegValue HKCR ".wiz\OpenWithProgids" "KorvethScriptEditor.Script"
ReadRegStr $0 HKCR ".wiz" ""
StrCmp $0 "KorvethScriptEditor.Script" 0 +2
DeleteRegValue HKCR ".wiz" ""
DeleteRegKey HKCR "Applications\korveth-editor.exe"
DeleteRegKey HKCR "KorvethScriptEditor.Script"
