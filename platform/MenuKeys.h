#pragma once

#include <QLatin1StringView>

// The keys of the menu items, which name the commands: every command is registered, run and looked
// up by these. The toolbar's buttons have keys of their own, routed to these.
namespace Korveth::MenuKey {

inline constexpr QLatin1StringView FileMenu{"file"}; // the File menu
inline constexpr QLatin1StringView New{"new"};
inline constexpr QLatin1StringView Open{"open"};
inline constexpr QLatin1StringView Close{"close"};
inline constexpr QLatin1StringView ScriptDebug{"sdebug"}; // Script Debug
inline constexpr QLatin1StringView ScriptRun{"srun"};     // Script Runner (dry runs)
inline constexpr QLatin1StringView Save{"save"};
inline constexpr QLatin1StringView SaveAs{"saveas"};
inline constexpr QLatin1StringView SaveAll{"saveall"};
inline constexpr QLatin1StringView Print{"print"};
inline constexpr QLatin1StringView PrintSetup{"printsetup"};
inline constexpr QLatin1StringView Properties{"properties"}; // Script Properties
inline constexpr QLatin1StringView Exit{"exit"};
inline constexpr QLatin1StringView EditMenu{"edit"}; // the Edit menu
inline constexpr QLatin1StringView Undo{"undo"};
inline constexpr QLatin1StringView Redo{"redo"};
inline constexpr QLatin1StringView Cut{"cut"};
inline constexpr QLatin1StringView Copy{"copy"};
inline constexpr QLatin1StringView Paste{"paste"};
inline constexpr QLatin1StringView Delete{"delete"};
inline constexpr QLatin1StringView SelectAll{"selectall"};
inline constexpr QLatin1StringView SelectLine{"selectline"};
inline constexpr QLatin1StringView SearchMenu{"search"}; // the Search menu
inline constexpr QLatin1StringView Find{"find"};
inline constexpr QLatin1StringView FindNext{"findnext"};
inline constexpr QLatin1StringView FindPrevious{"findprev"};
inline constexpr QLatin1StringView Replace{"replaceit"};
inline constexpr QLatin1StringView GoToLine{"goto"};
inline constexpr QLatin1StringView NextMistake{"nextmistake"};
inline constexpr QLatin1StringView GoToLabel{"golabel"};
inline constexpr QLatin1StringView FindReferences{"findrefs"};
inline constexpr QLatin1StringView RenameLabel{"renamelabel"};
inline constexpr QLatin1StringView WordCount{"word"};
inline constexpr QLatin1StringView CharacterCount{"charcount"};
inline constexpr QLatin1StringView LineCount{"linecount"};
inline constexpr QLatin1StringView CountAll{"countall"};
inline constexpr QLatin1StringView ViewMenu{"view"}; // the View menu
inline constexpr QLatin1StringView EditorOptions{"editor"};
inline constexpr QLatin1StringView Generators{"gener"}; // Script Generators...
inline constexpr QLatin1StringView Toolbar{"toolbar"};
inline constexpr QLatin1StringView StatusBar{"statusbar2"};
inline constexpr QLatin1StringView QuickNav{"quicknav"};
inline constexpr QLatin1StringView FilesPage{"filespage"};
inline constexpr QLatin1StringView CommandsPage{"commandspage"};
inline constexpr QLatin1StringView LabelsPage{"labelspage"};
inline constexpr QLatin1StringView NextPane{"nextpane"};
inline constexpr QLatin1StringView PreviousPane{"prevpane"};
inline constexpr QLatin1StringView HighlightLine{"hlline"}; // Highlight Selected Line
inline constexpr QLatin1StringView MistakesAsYouType{"mistakes"};
inline constexpr QLatin1StringView Options{"options"};
inline constexpr QLatin1StringView WindowMenu{"window"}; // the Window menu
inline constexpr QLatin1StringView TileHorizontal{"tilehor"};
inline constexpr QLatin1StringView TileVertical{"tilever"};
inline constexpr QLatin1StringView Cascade{"cascade"};
inline constexpr QLatin1StringView CloseAll{"closeall"};
inline constexpr QLatin1StringView WindowList{"wnlist"}; // the list of open windows
inline constexpr QLatin1StringView HelpMenu{"help"};     // the Help menu
inline constexpr QLatin1StringView GeneralHelp{"genhelp"};
inline constexpr QLatin1StringView HelpOnline{"online"};
inline constexpr QLatin1StringView Readme{"readme"};
inline constexpr QLatin1StringView Website{"orlixsite"};
inline constexpr QLatin1StringView About{"about"};
inline constexpr QLatin1StringView CloseTab{"close2"}; // Close on a tab's menu
inline constexpr QLatin1StringView EditorOptionsButton{
    "prop"}; // the toolbar's Editor Options button

inline constexpr QLatin1StringView ClickHelp{"helpmode"}; // the toolbar's Click Help button

} // namespace Korveth::MenuKey
