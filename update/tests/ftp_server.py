# A local FTP server for the update tests: serves one folder to one account on
# 127.0.0.1 and prints the port it listens on.
#   ftp_server.py <folder> <user> <password> [<file>:<bytes> ...]
# Each <file>:<bytes> makes a download of that file stall: the server sends the
# first <bytes> bytes and then holds the data connection open without sending
# more, as a server does that hangs in the middle of a transfer.
import os
import sys

from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.servers import FTPServer


class StallingDTPHandler(DTPHandler):
    def close_when_done(self):
        # A stalled transfer never ends on its own; the client has to give up.
        if getattr(self.cmd_channel, "stalling", False):
            return
        super().close_when_done()


class StallingFTPHandler(FTPHandler):
    stalls = {}
    stalling = False

    def ftp_RETR(self, file):
        sent = self.stalls.get(os.path.basename(file))
        self.stalling = sent is not None
        if not self.stalling:
            return super().ftp_RETR(file)
        with open(file, "rb") as f:
            data = f.read(sent)
        self.push_dtp_data(data, cmd="RETR")
        return file


def main():
    folder, user, password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, folder, perm="elr")
    handler = StallingFTPHandler
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0
    handler.dtp_handler = StallingDTPHandler
    for stall in sys.argv[4:]:
        name, sent = stall.rsplit(":", 1)
        handler.stalls[name] = int(sent)
    # Passive transfers only: a client that offers an address of its own fails.
    handler.proto_cmds = {
        name: command for name, command in FTPHandler.proto_cmds.items() if name not in ("PORT", "EPRT")
    }
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
