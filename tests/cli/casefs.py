#!/usr/bin/python3
# A pass-through FUSE file system that folds letter case, as network and
# removable file systems do, and leaves inode numbers to FUSE (no use_ino):
# one file reached by two spellings has two inode numbers. Serves the folder
# ROOT at MOUNT; runs until it is sent SIGTERM or SIGINT, then unmounts.
# Usage: casefs.py ROOT MOUNT
import errno
import os
import sys

from fusepy import FUSE, FuseOSError, Operations


class CaseFolding(Operations):
    def __init__(self, root):
        self.root = root

    def real(self, path):
        """The underlying path: each name matched without regard to case."""
        current = self.root
        for name in [n for n in path.split('/') if n]:
            exact = os.path.join(current, name)
            if not os.path.lexists(exact) and os.path.isdir(current):
                for entry in os.listdir(current):
                    if entry.lower() == name.lower():
                        exact = os.path.join(current, entry)
                        break
            current = exact
        return current

    def call(self, function, *args):
        try:
            return function(*args)
        except OSError as e:
            raise FuseOSError(e.errno or errno.EIO)

    def getattr(self, path, fh=None):
        st = self.call(os.lstat, self.real(path))
        return {key: getattr(st, key) for key in (
            'st_mode', 'st_nlink', 'st_uid', 'st_gid', 'st_size', 'st_atime', 'st_mtime', 'st_ctime')}

    def readdir(self, path, fh):
        return ['.', '..'] + self.call(os.listdir, self.real(path))

    def access(self, path, mode):
        if not os.access(self.real(path), mode):
            raise FuseOSError(errno.EACCES)

    def open(self, path, flags):
        return self.call(os.open, self.real(path), flags)

    def create(self, path, mode, fi=None):
        return self.call(os.open, self.real(path), os.O_WRONLY | os.O_CREAT | os.O_EXCL, mode)

    def read(self, path, size, offset, fh):
        return self.call(os.pread, fh, size, offset)

    def write(self, path, data, offset, fh):
        return self.call(os.pwrite, fh, data, offset)

    def truncate(self, path, length, fh=None):
        self.call(os.truncate, self.real(path), length)

    def flush(self, path, fh):
        return 0

    def release(self, path, fh):
        self.call(os.close, fh)

    def fsync(self, path, datasync, fh):
        return 0

    def chmod(self, path, mode):
        self.call(os.chmod, self.real(path), mode)

    def utimens(self, path, times=None):
        self.call(os.utime, self.real(path), times)

    def unlink(self, path):
        self.call(os.unlink, self.real(path))

    def rename(self, old, new):
        self.call(os.rename, self.real(old), self.real(new))

    def mkdir(self, path, mode):
        self.call(os.mkdir, self.real(path), mode)

    def rmdir(self, path):
        self.call(os.rmdir, self.real(path))

    def statfs(self, path):
        st = os.statvfs(self.real(path))
        return {key: getattr(st, key) for key in (
            'f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail', 'f_ffree', 'f_files', 'f_flag',
            'f_frsize', 'f_namemax')}


if __name__ == '__main__':
    FUSE(CaseFolding(sys.argv[1]), sys.argv[2], foreground=True)
