// The few operating-system services the portable core needs. On Windows each
// is the real Win32 call; elsewhere a small implementation of ours with the
// behaviour the program relies on.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#ifndef _WIN32
#include <pthread.h>
#endif

// Full path of the running executable into buf. Returns false when the path
// does not fit cap bytes (including the NUL) or cannot be determined.
bool modulePath(char* buf, size_t cap);

// Removes the last path component (and the separator before it, except a root
// separator), in place, as PathRemoveFileSpecA does.
void removeFileSpec(char* path);

// Separator and file name appended to the program folder for the settings file.
extern const char kSettingsFileSuffix[];

// Private-profile (INI) access. Reading gives the key's value cut to cap - 1
// bytes, or an empty text when the file, section or key is missing. Writing
// creates the file, the section and the key as needed, replaces the value and
// leaves every other line as it was; it returns false, changing nothing, when
// the write failed or an existing file could not be read.
void readProfileString(const char* section, const char* key, char* out, size_t cap,
                       const char* path);
bool writeProfileString(const char* section, const char* key, const char* value, const char* path);

// Opens a file with no sharing restriction (other programs may read and write
// it meanwhile). mode is a stdio mode such as "rb" or "wb".
FILE* openShared(const char* path, const char* mode);

// Block reads and writes of the conversion's files. readFileBlock reads up
// to size bytes, fewer only at the end of the file or on an error, which it
// tells by setting `failed`; writeFileBlock writes all size bytes or returns
// false.
size_t readFileBlock(FILE* file, void* buffer, size_t size, bool& failed);
bool writeFileBlock(FILE* file, const void* data, size_t size);
// For tests: the nth block read and the nth block write from now on fail as
// a device error would (0: none).
void failFileBlockForTesting(int nthRead, int nthWrite);

// True when path names the file open as `open` (through another name, a link
// or a short name, say). False when path names no existing file.
bool isSameFile(FILE* open, const char* path);

// True when path names a pipe, a socket or a device: something whose bytes
// are gone once read, so that a look ahead would take them from the reader
// that comes after it.
bool isReadOnce(const char* path);

// True when c is a lead byte of a double-byte character in the system's ANSI
// code page (never on POSIX, where texts are handled as single bytes).
bool isLeadByte(unsigned char c);

struct LocalTime {
    int year, month, day, hour, minute, second;
};
// The current local time (month 1 to 12): the system's clock, the one the
// taskbar shows on Windows.
LocalTime currentLocalTime();

// The order of the user's short date format, as a spreadsheet writes dates
// in it: whether the year comes first (yyyy/MM/dd) or last (dd/MM/yyyy,
// M/d/yyyy), and whether the month comes before the day. On Windows the user
// default locale's LOCALE_SSHORTDATE; elsewhere the date format of the
// environment's LC_TIME locale, where the C locale's %m/%d/%y has the year
// last and the month first. A format with the year first counts as month
// first; one that tells nothing, as year last and month first.
struct ShortDateOrder {
    bool yearFirst, monthFirst;
};
ShortDateOrder shortDateOrder();

// A thread of the program's own: started once with a function, waited for
// once.
struct PlatformThread {
#ifdef _WIN32
    void* handle;  // a thread HANDLE
#else
    pthread_t handle;
#endif
    bool started;
};
// Starts body on a new thread with the default stack size; false (and the
// thread not started) when it cannot be created.
bool startThread(PlatformThread& thread, void (*body)());
// Waits with no time limit for a started thread to end, then releases it.
// Does nothing for a thread that was not started.
void joinThread(PlatformThread& thread);
