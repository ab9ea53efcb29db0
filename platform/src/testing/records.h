// What the testing API has prepared for the program (answers to the next
// dialogs) and what the program did that a test wants to see (message boxes
// shown, addresses handed to the shell, sounds played). The dialogs, shell
// and sound areas of the layer call these.
#pragma once

#include <windef.h>

#include <optional>
#include <string>
#include <vector>

namespace vk::records {

// A queued answer for the next file dialog: a path, or nullopt for Cancel.
// Returns false when no answer is queued.
bool takeFileDialogAnswer(std::optional<std::string>& answer);
bool takeMessageBoxAnswer(int& result);

void recordMessageBox(const char* text, const char* caption, UINT type);
void recordShellExecute(const std::string& target);
void recordSound(const unsigned char* bytes, size_t size, DWORD flags);

} // namespace vk::records
