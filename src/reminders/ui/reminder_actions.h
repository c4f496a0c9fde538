#pragma once
// What a due reminder starts besides its pop-up: its sound file, its program and its web
// page, and the stop of a playing alarm sound.
#include <string>
#include <string_view>

#include "reminders/store/reminder_record.h"

namespace workmemo {

// The address a reminder's web page is opened at: "http://" in front, unless the address
// already names a scheme (letters, digits, "+", "." or "-" after a first letter, then "://",
// in any case) or is a "mailto:" address.
std::string WebPageAddress(std::string_view address);

// Plays a reminder's sound file: one whose extension reads "MP3" in any case on the MP3
// player, any other on the plain player. An empty path or a missing file plays nothing and
// shows nothing. It touches no file: the players look at it away from the window thread,
// which a path on a hung mount would stop even in a test of whether the file exists.
void PlayReminderSound(std::string_view path);

// Starts the reminder's program (txcx) and then opens its web page (txwy, first given its
// scheme in the record itself); empty ones start nothing. Both run away from the window
// thread, which a program on a hung mount would stop: the call returns at once, the page
// opens once the program's start has ended, and a failure goes to the log alone.
void OpenReminderProgramAndPage(ReminderRecord& reminder);

// RunReminderActions: sound, program and web page of a reminder that fires without the pop-up.
void RunReminderActions(ReminderRecord& reminder);

// StopMusic: the tray's 停止音乐播放 and the end of the program stop every alarm sound.
void StopMusic();

}  // namespace workmemo
