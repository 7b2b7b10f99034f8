"""A pyftpdlib server for the FTP tests: one user, one folder, loopback only.

Prints "PORT <n>" once it listens, then serves until it is killed.
"""
import argparse
import os
import sys

from pyftpdlib.authorizers import AuthenticationFailed, DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class EchoingAuthorizer(DummyAuthorizer):
    """Refuses logins with a reply that repeats the password, as careless servers do."""

    def validate_authentication(self, username, password, handler):
        try:
            super().validate_authentication(username, password, handler)
        except AuthenticationFailed:
            raise AuthenticationFailed("Login incorrect for %s/%s." % (username, password))


# Names no folder can hold, listed after the real entries by --odd-names.
ODD_NAMES = ["nul\0inside", "slash/inside", "/etc/passwd", ".", ".."]


class OddNamesFS(AbstractedFS):
    """Lists the real entries, then one file for each of ODD_NAMES (LIST and MLSD)."""

    def format_list(self, basedir, listing, ignore_err=True):
        yield from super().format_list(basedir, listing, ignore_err)
        for name in ODD_NAMES:
            yield ("-rw-r--r--   1 owner    group           3 Jan 05  2024 %s\r\n" % name).encode()

    def format_mlsx(self, basedir, listing, perms, facts, ignore_err=True):
        yield from super().format_mlsx(basedir, listing, perms, facts, ignore_err)
        for name in ODD_NAMES:
            yield ("type=file;size=3;modify=20240105123456; %s\r\n" % name).encode()


class DyingFS(AbstractedFS):
    """Lists the real entries and 2000 made-up files, and dies on the way (LIST and MLSD)."""

    def format_list(self, basedir, listing, ignore_err=True):
        yield from super().format_list(basedir, listing, ignore_err)
        for i in range(2000):
            yield ("-rw-r--r--   1 owner    group           3 Jan 05  2024 more%04d\r\n" % i).encode()
            if i == 1000:
                os._exit(3)

    def format_mlsx(self, basedir, listing, perms, facts, ignore_err=True):
        yield from super().format_mlsx(basedir, listing, perms, facts, ignore_err)
        for i in range(2000):
            yield ("type=file;size=3;modify=20240105123456; more%04d\r\n" % i).encode()
            if i == 1000:
                os._exit(3)


class StallingHandler(FTPHandler):
    """Answers a listing command only once the file named by release_file exists."""

    release_file = None

    def _when_released(self, command, path):
        if getattr(self, "_closed", False):
            return
        if os.path.exists(self.release_file):
            getattr(FTPHandler, command)(self, path)
        else:
            self.ioloop.call_later(0.02, self._when_released, command, path)

    def ftp_LIST(self, path):
        self._when_released("ftp_LIST", path)

    def ftp_MLSD(self, path):
        self._when_released("ftp_MLSD", path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--odd-names", action="store_true", help="list names no folder can hold")
    parser.add_argument("--no-rename", action="store_true", help="refuse RNFR and RNTO")
    parser.add_argument("--die-in-listing", action="store_true", help="exit half way through the first listing")
    parser.add_argument("--stall-listings", metavar="FILE", help="answer listings only once FILE exists")
    parser.add_argument("--throttle", type=int, default=0, help="bytes per second of every transfer")
    args = parser.parse_args()

    authorizer = EchoingAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradmwMT" if args.no_rename else "elradfmwMT")
    handler = type("Handler", (StallingHandler if args.stall_listings else FTPHandler,), {})
    handler.release_file = args.stall_listings
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0
    handler.banner = "qvkit test server ready."
    if args.throttle:
        dtp = type("DTP", (ThrottledDTPHandler,), {})
        dtp.read_limit = args.throttle
        dtp.write_limit = args.throttle
        # Small chunks keep the flow even instead of one burst a second.
        dtp.ac_in_buffer_size = dtp.ac_out_buffer_size = 4096
        handler.dtp_handler = dtp
        handler.use_sendfile = False
    if args.odd_names:
        handler.abstracted_fs = OddNamesFS
    if args.die_in_listing:
        handler.abstracted_fs = DyingFS
    if args.no_mlsd:
        handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k not in ("MLSD", "MLST")}

    server = FTPServer(("127.0.0.1", args.port), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
