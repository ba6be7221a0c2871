# A local FTP server for the update tests: serves one folder to one account on
# 127.0.0.1 and prints the port it listens on.
#   ftp_server.py <folder> <user> <password> [<behaviour> ...]
# Behaviours, any number of them:
#   <file>:<bytes>           a download of that file stalls: the server sends the
#                            first <bytes> bytes and then holds the data
#                            connection open without sending more, as a server
#                            does that hangs in the middle of a transfer.
#   trickle:<file>:<bytes>:<ms>
#                            a download of that file trickles: <bytes> bytes
#                            every <ms> milliseconds until the file is sent.
#   silent:<COMMAND>         the server never answers that command (SIZE, RETR,
#                            EPSV, ...), as a server does that hangs after login.
#   size:<file>:<bytes>      SIZE of that file answers <bytes>, whatever the file
#                            really holds.
import os
import sys

from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.servers import FTPServer


class PacedDTPHandler(DTPHandler):
    def close_when_done(self):
        # A stalled or trickling transfer does not end when its first bytes are
        # out; the client gives up, or finish() ends it.
        if getattr(self.cmd_channel, "holding", False):
            return
        super().close_when_done()

    def finish(self):
        super().close_when_done()


class PacedFTPHandler(FTPHandler):
    stalls = {}
    trickles = {}
    sizes = {}
    holding = False

    def ftp_SIZE(self, path):
        announced = self.sizes.get(os.path.basename(path))
        if announced is None:
            return super().ftp_SIZE(path)
        self.respond("213 %d" % announced)

    def ftp_RETR(self, file):
        name = os.path.basename(file)
        sent = self.stalls.get(name)
        trickle = self.trickles.get(name)
        self.holding = sent is not None or trickle is not None
        if not self.holding:
            return super().ftp_RETR(file)
        with open(file, "rb") as f:
            data = f.read()
        if trickle is None:
            self.push_dtp_data(data[:sent], cmd="RETR")
            return file
        step, every = trickle
        self.push_dtp_data(data[:step], cmd="RETR")

        def more(offset):
            channel = self.data_channel
            if channel is None or not channel.connected:
                return  # the client gave up
            if offset >= len(data):
                self.holding = False
                channel.finish()
                return
            channel.push(data[offset:offset + step])
            self.ioloop.call_later(every, more, offset + step)

        self.ioloop.call_later(every, more, step)
        return file


def unanswered(self, *args):
    pass


def main():
    folder, user, password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, folder, perm="elr")
    handler = PacedFTPHandler
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0
    handler.dtp_handler = PacedDTPHandler
    for behaviour in sys.argv[4:]:
        kind, _, rest = behaviour.partition(":")
        if kind == "trickle":
            name, step, ms = rest.rsplit(":", 2)
            handler.trickles[name] = (int(step), int(ms) / 1000.0)
        elif kind == "size":
            name, announced = rest.rsplit(":", 1)
            handler.sizes[name] = int(announced)
        elif kind == "silent":
            setattr(handler, "ftp_" + rest.upper(), unanswered)
        else:
            name, sent = behaviour.rsplit(":", 1)
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
