// Opening and saving item files on disk: the start-up read of "items.txt", its read again
// when it could not be read at start, loads by name, saves, and the recovery file.
#pragma once

#include <string>

#include "base/file_win.h"
#include "items/item_db.h"

namespace quilla {

// Reads the start-up item file (path: "items.txt" in the working directory) into db's live
// and saved tables, as the settings file is read: a file another program holds is waited
// for (about retry_ms), and one saved as UTF-8 or UTF-16 reads as the same text in
// Shift-JIS. A file that is there but could not be read leaves the tables as they were
// and is remembered (ItemDatabase::item_file_unread), so that no save writes over it
// unasked. Returns what the read found.
ReadOutcome load_startup_items(ItemDatabase& db, const std::wstring& path,
                               DWORD retry_ms = kReplaceRetryMs,
                               FileCalls& calls = system_calls<FileCalls>(),
                               Clock& clock = system_clock());

// When "items.txt" could not be read at start: reads it again, and when it now reads, its
// tables become the saved ones and the live ones are they with the player's changes made
// again on them (rebase). True when the file is read (or never was unread).
bool read_unread_item_file(ItemDatabase& db);
// The same with the file's read already made (read: "items.txt" as read_whole_text_file
// gave it).
bool take_unread_item_file(ItemDatabase& db, const FileRead& read);

// Formats tables and writes them to path in one replacing step: a failed save leaves the
// previous file whole. A file another program holds is tried again for about retry_ms.
// False when the file could not be written; *why (when given) says why not. The wait is
// measured on clock.
bool write_item_file(const std::string& path, const ItemTables& tables, SaveFailure* why = nullptr,
                     DWORD retry_ms = kReplaceRetryMs, Clock& clock = system_clock());
bool write_item_file(const std::wstring& path, const ItemTables& tables, SaveFailure* why = nullptr,
                     DWORD retry_ms = kReplaceRetryMs, Clock& clock = system_clock());

// Loads the item file at path into target (see load_item_file); a file that is not there
// or cannot be read whole changes nothing. A file saved as UTF-8 is read as the same text
// in Shift-JIS.
void load_item_file_into(const std::wstring& path, ItemTables& target);

// At the end of the program: with unsaved changes in db, writes its live tables to the
// recovery file (kItemRecoveryFileName), tried again for about retry_ms while another
// program holds it (as clock measures and waits); with none, removes a recovery file left
// from before. False when the changes could not be kept.
bool keep_unsaved_items(const ItemDatabase& db, DWORD retry_ms, Clock& clock = system_clock());

// Removes the recovery file (see keep_unsaved_items), when there is one.
void remove_kept_items();

}  // namespace quilla
