#pragma once
// The file of a program's step log (lines: core/LogLine.h). A log goes where others may have
// planted a link first (the temporary folder that an elevated program shares with every
// program the user runs, a name given on the command line), so it is never written through a
// link: it is a new file, or a plain file of the user's own with no other name, reached
// without a link. Writing it never makes the program fail: a log that cannot be opened or
// written is left out, and its lines go nowhere.

#include <windows.h>

#include <string>

#include "core/LogLine.h"

class TLogFile {
 public:
  TLogFile() = default;
  TLogFile(const TLogFile&) = delete;
  TLogFile& operator=(const TLogFile&) = delete;
  ~TLogFile() { Close(); }

  // Opens a new file "<prefix>-<date>-<time>-<random>.log" in the folder (ending with "\"),
  // under a name that nobody can know before. Returns its path; empty when none could be made.
  std::string OpenNew(const std::string& folder, const std::string& prefix);
  // Opens the log at path (a "/log=" switch): a new file, or the existing file created anew when
  // it is a plain file of this user's own. A link, a file with more than one name or another
  // owner's file standing there is left as it is; false then.
  bool Open(const std::string& path);
  // Opens an existing log to add lines at its end, on the same terms as Open.
  bool OpenToAppend(const std::string& path);
  void Close();
  bool IsOpen() const { return FFile != INVALID_HANDLE_VALUE; }
  // The full path of the open log; empty when none is open.
  const std::string& Path() const { return FPath; }

  // Writes a whole line; a log that fails once (a full disk) is given up rather than left with
  // holes.
  void Write(const std::string& line);
  // Writes the text as a line stamped with the local date and time.
  void Note(const std::string& text);

 private:
  // Keeps the handle, with the path it was opened at; false when it is none.
  bool Take(HANDLE file, const std::string& path);

  HANDLE FFile = INVALID_HANDLE_VALUE;
  std::string FPath;
};

TLogTime LocalLogTime();
