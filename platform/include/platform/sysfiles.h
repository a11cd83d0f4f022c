// The temporary folders and mail with an attachment, through the desktop's tools.
#pragma once
#include <string>

// The system's temporary folder with a trailing '/': $TMPDIR, else /tmp.
// Exception "Can not find Temp folder" when it is not a folder.
std::string GetTempFolder();

// The program's own folder inside the temporary one (mode 0700), made on first use
// and removed with all it holds when the program exits, or by
// RemovePrivateTempFolder. Files handed to other programs that may read them later
// (mail attachments) are kept there.
std::string PrivateTempFolder();
void RemovePrivateTempFolder();
// Empty until the folder was made.
std::string PrivateTempFolderIfMade();

// Mail goes out through the desktop's mail composer, xdg-email. It is available when
// an executable xdg-email is on the PATH.
bool MailAvailable();
constexpr int MailUnavailable = -1;
// Opens a new mail with Subject and a copy of FileName attached (the copy lives in the
// private temporary folder, since xdg-email returns before the mail is written).
// Answers 0 when the composer took the mail, MailUnavailable without xdg-email,
// else xdg-email's exit status (2: the file is missing, 3: no mail program, ...).
// Exceptions only for a file that cannot be copied.
int SendMailAttachment(const std::string& Subject, const std::string& FileName);
