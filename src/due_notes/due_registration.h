#pragma once
// What the due-date windows hand to the rest of the program at start.
namespace workmemo {

// Registers the due-date page with the main window's pages, the floating due-date window
// with the start and the main window's menu, and their part in the re-skinning, the list-font
// change, the password covers and the end; the start sequence calls it before the main
// window loads.
void RegisterDueUi();

}  // namespace workmemo
