// Context help: every window's Help button opens the help file at its context number.
//
//   shell::showHelp(this, shell::HelpGuests);   // in frmGuests' Help button
//
// The help file is Orvane.HLP in the program directory (format: app/help/README.md);
// a help viewer window shows one topic at a time and lists all of them.
#pragma once

class QWidget;

namespace shell {

// Context numbers of the windows' Help buttons and menu items.
inline constexpr int HelpGeneral = 1000;       // General Information panel
inline constexpr int HelpGuests = 1001;        // guest window
inline constexpr int HelpChecklist = 1002;     // checklist window
inline constexpr int HelpContents = 1004;      // main menu "Online Help"
inline constexpr int HelpExpenses = 1005;      // expense window
inline constexpr int HelpReports = 1006;       // reports window
inline constexpr int HelpSeating = 1007;       // seating window
inline constexpr int HelpVendors = 1008;       // vendor window (F1; it has no Help button)
inline constexpr int HelpImport = 1010;        // guest import wizard
inline constexpr int HelpExport = 1011;        // exports and the calendar file
inline constexpr int HelpBudget = 1013;        // budget window
inline constexpr int HelpFindGuests = 1014;    // Find Guests
inline constexpr int HelpMembers = 1015;       // the members of a party, the menu
inline constexpr int HelpReplies = 1016;       // the replies window and the import of replies
inline constexpr int HelpPlaceCards = 1017;    // the reports window's Place Cards tab
inline constexpr int HelpFloorPlan = 1020;     // floor plan and automatic seating
inline constexpr int HelpSeatingRules = 1021;  // seating rules
// Number 1003 belongs to no window. The "Help on Help" topic has no number.
// A window without a topic of its own shows the topic of the window that opened it.
inline constexpr int HelpOfOwner = 0;

// Sets program().HelpOwnerWindow and program().HelpFilePath (Orvane.HLP in the program
// directory, or in the installed data folder). Called once by the main window while it loads.
void setupHelp(QWidget* mainWindow);

// Opens the help viewer at the topic of contextNumber. owner: the window asking (its
// dialog stays blocked while help is open over a modal window); null = HelpOwnerWindow.
// A missing help file or unknown topic is reported inside the viewer, never as an error.
void showHelp(QWidget* owner, int contextNumber);
// Gives a window, or a panel inside one, its help topic, and makes F1 anywhere in the
// window open help: at the topic of the nearest widget that has one, going up from the
// focus through the parents and on to the owner windows (HelpContents when none has).
// contextNumber HelpOfOwner only makes F1 work, with the owner's topic.
void setHelpContext(QWidget* widget, int contextNumber);
// The topic F1 opens for a widget, by the rule above.
int helpContextOf(const QWidget* widget);

// Opens the help viewer at the topic that explains how to use help.
void showHelpOnHelp(QWidget* owner = nullptr);
// Closes the help viewer if it is open.
void quitHelp();

}  // namespace shell
