#pragma once
// Whether two names lead to one file. Device and inode numbers say so on
// most file systems, but not on all: a FUSE file system mounted without
// "use_ino" numbers its files by name, and when it also folds letter case,
// "Song.mp3" and "SONG.MP3" are one file with two inode numbers. So two
// names whose inodes differ still count as one file when everything a
// second file could not share agrees: size, modification and change times
// (no program sets a change time), and the bytes at the start and the end.
// On the common local file systems (ext4, XFS, Btrfs, tmpfs, ...) inode
// numbers are trusted alone.
#include <string>
#include <sys/stat.h>

namespace vivizu {

// The file open as fd, whose fstat at opening was opened, and the file at
// path (links followed). False when path does not exist.
bool IsSameFile(int fd, const struct stat& opened, const std::string& path);

// The files at a and b, both opened for the comparison.
bool AreSameFile(const std::string& a, const std::string& b);

} // namespace vivizu
