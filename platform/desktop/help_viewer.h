// The program's help: one HTML file compiled into the program, shown in a
// help window of its own at the topic of a help context number.
#pragma once

#include <QString>

class QTextBrowser;
class QWidget;

namespace webquill {

// Help context numbers of the windows, dialogs and pages.
inline constexpr int kHelpContents = 5000;
inline constexpr int kHelpSynopsis = 5001;
inline constexpr int kHelpPreferences = 5006;
inline constexpr int kHelpAddCommands = 5007;
inline constexpr int kHelpHeaderInfo = 5008;
inline constexpr int kHelpDeleteCommands = 5009;
inline constexpr int kHelpExtractCommands = 5010;
inline constexpr int kHelpMakeFileCommand = 5011;
inline constexpr int kHelpMakeTocCommand = 5012;
inline constexpr int kHelpReplaceCommands = 5013;
inline constexpr int kHelpWrapCommands = 5014;
inline constexpr int kHelpPublishDialog = 5015;
inline constexpr int kHelpTocDefaults = 5016;
inline constexpr int kHelpExecuteOrder = 5017;
inline constexpr int kHelpUploadDialog = 5018;
inline constexpr int kHelpImageFilter = 5019;
inline constexpr int kHelpUploadInfo = 5020;

// Opens the help window, or brings it to the front, at the topic of
// `context`; a number without a topic of its own shows the contents. The
// window stays usable while a modal dialog (the one asking for help) is up.
void ShowHelpTopic(QWidget* parent, int context);

// Closes the help window, if it is open (the program is ending).
void CloseHelpWindow();

// F1 anywhere in the program opens the topic of the window that has the
// focus: the nearest of it and its parents with a "helpContext" property.
inline constexpr char kHelpContextProperty[] = "helpContext";
void InstallHelpKey();

// The anchor name of a context's topic in the help file: "ctx5015".
QString HelpAnchor(int context);
// Where the help file is: a resource path that QFile and QTextBrowser read.
QString HelpFilePath();

// For tests: the context of the topic the window shows (-1 before the window
// was first opened), the window and its browser (null before then).
int CurrentHelpContext();
QWidget* HelpWindowForTests();
QTextBrowser* HelpBrowserForTests();

}  // namespace webquill
