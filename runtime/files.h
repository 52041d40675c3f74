#pragma once
/// File commands: the numbered open-file table with read and share modes. Failures
/// are reported only through the results (false, 0, the empty text). No command waits for another
/// program: a FIFO without its other end fails to open for writing and reads as empty.

#include "runtime/value.h"

namespace ep {

/// A number that identifies an open file; 0 stands for no file.
using FileNumber = int;

/// Mode 1 read, 2 write, 3 read and write, 4 create for writing, 5 create if missing for writing, 6 create if
/// missing for reading and writing. Share 1 others may read and write, 2 others may not read, 3 others may
/// not write, 4 exclusive.
/// On Windows the shares are the system's own and hold against every program. POSIX systems have none:
/// there share 1 takes a shared advisory lock and shares 2 to 4 an exclusive one, which hold only among
/// programs that lock too, and which also refuse some pairs that Windows allows: a share 2 or 3 open
/// beside any other open, such as two readers that both ask for share 3.
FileNumber FileOpen(const Text& name, int mode = 3, int share = 1);

/// Reads up to length bytes (all when length is omitted) and ends the text at the first 0x00 or 0x1A byte,
/// never inside a multi-byte character.
Text FileReadText(FileNumber file);
Text FileReadText(FileNumber file, int length);

void FileClose(FileNumber file);

} // namespace ep
