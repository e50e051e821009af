#!/usr/bin/python3
# A one-file FUSE file system for the window's save tests: serves SOURCE as
# MOUNT/in.mp3 and, while the file FLAG exists, fails every read with EIO,
# as a disk that goes bad after the file was opened. Reads bypass the page
# cache so that each one reaches this program. Runs until it is sent
# SIGTERM or SIGINT, then unmounts. Usage: failfs.py SOURCE MOUNT FLAG
import errno
import os
import stat
import sys

from fusepy import FUSE, FuseOSError, Operations


class FailLater(Operations):
    def __init__(self, source, flag):
        self.source = source
        self.flag = flag

    def getattr(self, path, fh=None):
        if path == '/':
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        if path == '/in.mp3':
            st = os.stat(self.source)
            return dict(st_mode=stat.S_IFREG | 0o444, st_nlink=1, st_size=st.st_size,
                        st_mtime=st.st_mtime)
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return ['.', '..', 'in.mp3']

    def read(self, path, size, offset, fh):
        if os.path.exists(self.flag):
            raise FuseOSError(errno.EIO)
        with open(self.source, 'rb') as f:
            f.seek(offset)
            return f.read(size)


if __name__ == '__main__':
    FUSE(FailLater(sys.argv[1], sys.argv[3]), sys.argv[2], foreground=True, ro=True,
         direct_io=True)
