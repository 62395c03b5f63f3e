; Run by the installer. .cmd is the extension of Windows batch files: the installer never makes
; the editor their default program (that would break every batch file on the machine). It only
; adds the editor to the "Open with" list of .cmd and .wiz, and makes it the program of .wiz,
; which belongs to these scripts alone.
WriteRegStr HKCR "KorvethScriptEditor.Script" "" "Game script"
WriteRegStr HKCR "KorvethScriptEditor.Script\shell\open" "FriendlyAppName" "Korveth Script Editor"
WriteRegStr HKCR "KorvethScriptEditor.Script\shell\open\command" "" '"$INSTDIR\bin\korveth-editor.exe" "%1"'
WriteRegStr HKCR "Applications\korveth-editor.exe" "FriendlyAppName" "Korveth Script Editor"
WriteRegStr HKCR "Applications\korveth-editor.exe\shell\open\command" "" '"$INSTDIR\bin\korveth-editor.exe" "%1"'
WriteRegStr HKCR "Applications\korveth-editor.exe\SupportedTypes" ".cmd" ""
WriteRegStr HKCR "Applications\korveth-editor.exe\SupportedTypes" ".wiz" ""
WriteRegStr HKCR ".cmd\OpenWithProgids" "KorvethScriptEditor.Script" ""
WriteRegStr HKCR ".wiz\OpenWithProgids" "KorvethScriptEditor.Script" ""
WriteRegStr HKCR ".wiz" "" "KorvethScriptEditor.Script"
