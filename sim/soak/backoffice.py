"""The soak's back office: an FTP server that keeps every upload.

A file sent twice under one name (GPS_20270301.ftl is sent again each time
it grows) would overwrite the first copy on a plain server; here each
received file moves on at once into the archive under a running number, so
the invariant checker sees every copy. An upload broken off is dropped.

Usage: backoffice.py PORT INCOMING ARCHIVE
"""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    port, incoming, archive = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    os.makedirs(incoming, exist_ok=True)
    os.makedirs(archive, exist_ok=True)
    received = [len(os.listdir(archive))]

    class Handler(FTPHandler):
        def on_file_received(self, file):
            received[0] += 1
            os.rename(file, os.path.join(archive, "%06d_%s" % (received[0], os.path.basename(file))))

        def on_incomplete_file_received(self, file):
            os.remove(file)

    authorizer = DummyAuthorizer()
    authorizer.add_user("truck", "tanker", incoming, perm="elradfmw")
    Handler.authorizer = authorizer
    logging.basicConfig(level=logging.WARNING)
    FTPServer(("127.0.0.1", port), Handler).serve_forever()


if __name__ == "__main__":
    main()
