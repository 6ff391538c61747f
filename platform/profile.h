// The Windows profile (INI) file functions that the program uses, for one section, one key
// and one value at a time, with the Windows names and signatures.
//
// Reading follows the Windows rules: names match without regard to ASCII case, blanks
// (space, tab) around names and values are dropped, one pair of equal quotes around a value
// is dropped, the first of equal keys and the first of equal sections win. A missing file,
// section or key gives the default, without its trailing blanks.
//
// Writing keeps every byte it need not change and is safe against crashes: the new file is
// complete on disk before it takes the old one's place. Where the Windows functions would
// corrupt a file, these refuse: names or values with line breaks, a section name with ']',
// a key with '=' or starting with '[' or ';', and names that are empty after trimming.
// Text crosses in UTF-8. A file with a UTF-16 byte-order mark is read and written in
// UTF-16 (see profiletext.h); one that does not convert exactly is never written.
// The path is a POSIX path; a symbolic link stays a link and its target is rewritten. A
// file with several hard links is rewritten in place, so that all its names keep one file.
#pragma once

#include "platform/windows.h"

// Copies the value of lpKeyName in section lpAppName of lpFileName, or lpDefault, into
// lpReturnedString, cut to nSize - 1 bytes and ended by a NUL. Returns the number of bytes
// copied, without the NUL. With nSize 0 the buffer is left alone. A NULL name or file name
// gives the empty text; a NULL default counts as empty.
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);

// Sets lpKeyName in section lpAppName of lpFileName to lpString (without its leading
// blanks), creating the file, the section or the key as needed. FALSE when the write is
// refused or fails (a NULL argument, a missing folder, a folder or a read-only file under
// that name, a folder where no new file can be made, a UTF-16 file that does not convert
// exactly or text that is no valid UTF-8 for it); the file is then as it was.
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName);
