#pragma once
// Constants that stored files depend on: changing either makes existing data files, their
// backups or their admin row unreadable, so they never change.
// Written as escaped GB18030 bytes so that the header means the same bytes in every module,
// whatever charset that module is compiled with.

namespace workmemo {

// Password of the three data files, their empty images and their backups:
// 13 characters in 19 GB18030 bytes: full-width @ # % & *, then "mvtkqsz", then a
// full-width !.
inline constexpr char kDatabasePassword[] =
    "\xA3\xC0\xA3\xA3\xA3\xA5\xA3\xA6\xA3\xAA"
    "mvtkqsz"
    "\xA3\xA1";

// Password of the notes backups of the former kind (*.jsbbak): 13 characters in 20 GB18030
// bytes: full-width $ ^ + =, then "qbhwnr", then a full-width ? ; :. Never shown.
inline constexpr char kOldNotesBackupPassword[] =
    "\xA3\xA4\xA3\xDE\xA3\xAB\xA3\xBD"
    "qbhwnr"
    "\xA3\xBF\xA3\xBB\xA3\xBA";

// Password of the "admin" row of a fresh data file; its digest is in the empty images.
inline constexpr char kInitialPassword[] = "731862";

}  // namespace workmemo
