#pragma once
// What the operations ask of the data-maintenance page: its file dialogs, its progress labels
// and the backup-password prompt. Without a page loaded the dialogs answer "cancelled".
#include <optional>
#include <string>
#include <string_view>

#include "maintenance/maintained_data.h"

namespace workmemo {

// Runs the page's dialog of that name; an empty `filter` keeps the template's. The chosen
// path, with the default extension added to a name typed without one; none when cancelled.
std::optional<std::string> ChooseMaintenanceFile(std::string_view dialog, std::string_view filter,
                                                 std::string_view extension, std::string_view fileName);
// The progress label of the row of `kind`, shown with `text` and drawn at once, or hidden.
void ShowMaintenanceProgress(DataKind kind, std::string_view text);
void HideMaintenanceProgress(DataKind kind);
// Opens BackupPasswordPrompt modally and waits; BackupPasswordConfirmed once it is closed.
int AskBackupPassword();

}  // namespace workmemo
