# A local FTP server for the update tests: serves one folder to one account on
# 127.0.0.1 and prints the port it listens on.
#   ftp_server.py <folder> <user> <password>
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    folder, user, password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, folder, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0
    # Passive transfers only: a client that offers an address of its own fails.
    handler.proto_cmds = {
        name: command for name, command in FTPHandler.proto_cmds.items() if name not in ("PORT", "EPRT")
    }
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
