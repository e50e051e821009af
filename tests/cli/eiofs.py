#!/usr/bin/python3
# A one-file FUSE file system for the read-error tests: serves SOURCE as
# MOUNT/in.mp3 and fails every read that covers byte BAD with EIO, as a disk
# with one unreadable block does. Runs until it is sent SIGTERM or SIGINT,
# then unmounts. Usage: eiofs.py SOURCE MOUNT BAD
import errno
import os
import stat
import sys

from fusepy import FUSE, FuseOSError, Operations


class OneBadBlock(Operations):
    def __init__(self, source, bad):
        self.source = source
        self.bad = bad

    def getattr(self, path, fh=None):
        if path == '/':
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        if path == '/in.mp3':
            size = os.stat(self.source).st_size
            return dict(st_mode=stat.S_IFREG | 0o444, st_nlink=1, st_size=size)
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return ['.', '..', 'in.mp3']

    def read(self, path, size, offset, fh):
        if offset <= self.bad < offset + size:
            raise FuseOSError(errno.EIO)
        with open(self.source, 'rb') as f:
            f.seek(offset)
            return f.read(size)


if __name__ == '__main__':
    FUSE(OneBadBlock(sys.argv[1], int(sys.argv[3])), sys.argv[2], foreground=True, ro=True)
