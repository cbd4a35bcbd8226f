#!/usr/bin/python3
"""A real FTP server for the upload tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once it listens, then serves until killed. Users: "webquill"
with password "secret", and anonymous, both with full rights in --home.
--drop TEXT   closes the connection halfway through an upload whose name holds TEXT
--drop-once   with --drop, only the first such upload is cut
--deny TEXT   refuses uploads whose name holds TEXT
--stall       stops reading uploaded data after its first read (a dead transfer)
--slow N      reads uploaded data at N bytes a second
--max-connections N  refuses more than N connections at a time ("421")
--one-tls-session  with --tls, refuses uploads ("522") on every session but
              the first that uploads, as servers do whose data connections must
              resume a session they cannot resume
--write-log FILE  appends "COMMAND ARGUMENT" for every command that
              changes the server (STOR, DELE, RNFR, RNTO, MKD, ...) to FILE
--tls DIR     explicit TLS (AUTH TLS) with a certificate for 127.0.0.1 made for
              this run: DIR/server.pem (key and certificate), DIR/ca.pem
"""
import argparse
import logging
import os
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


def make_certificate(folder):
    from OpenSSL import crypto
    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.set_version(2)
    cert.get_subject().CN = "127.0.0.1"
    cert.set_serial_number(1)
    cert.gmtime_adj_notBefore(-3600)
    cert.gmtime_adj_notAfter(86400)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.add_extensions([
        crypto.X509Extension(b"subjectAltName", False, b"IP:127.0.0.1"),
        crypto.X509Extension(b"basicConstraints", True, b"CA:TRUE"),
    ])
    cert.sign(key, "sha256")
    pem = crypto.dump_certificate(crypto.FILETYPE_PEM, cert)
    with open(os.path.join(folder, "ca.pem"), "wb") as f:
        f.write(pem)
    path = os.path.join(folder, "server.pem")
    with open(path, "wb") as f:
        f.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key) + pem)
    return path


def main():
    warnings.filterwarnings("ignore", "write permissions assigned to anonymous user")
    parser = argparse.ArgumentParser()
    parser.add_argument("--home", required=True)
    parser.add_argument("--drop")
    parser.add_argument("--drop-once", action="store_true")
    parser.add_argument("--deny")
    parser.add_argument("--stall", action="store_true")
    parser.add_argument("--slow", type=int, default=0)
    parser.add_argument("--tls")
    parser.add_argument("--one-tls-session", action="store_true")
    parser.add_argument("--max-connections", type=int, default=0)
    parser.add_argument("--write-log")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user("webquill", "secret", args.home, perm="elradfmwMT")
    authorizer.add_anonymous(args.home, perm="elradfmwMT")

    base = FTPHandler
    dtp_base = DTPHandler
    if args.tls:
        from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler
        base, dtp_base = TLS_FTPHandler, TLS_DTPHandler

    if args.stall or args.slow:
        from pyftpdlib.handlers import ThrottledDTPHandler
        dtp_base = ThrottledDTPHandler
        # One byte a second: the pause after the first read outlasts any test.
        dtp_base.read_limit = args.slow or 1

    class DataHandler(dtp_base):
        def readable(self):
            # libcurl starts the TLS handshake of a passive data connection
            # before it sends the transfer command: keep reading through it
            # instead of taking it for a disconnect.
            if args.tls and self._ssl_accepting:
                return True
            return super().readable()

        def handle_read(self):
            super().handle_read()
            if args.drop and args.drop in getattr(self.cmd_channel, "stor_name", ""):
                if args.drop_once:
                    args.drop = None
                self.cmd_channel.close()
                self.close()

        if not args.tls and not args.stall and not args.slow:
            handle_read_event = handle_read

    writes = {"STOR", "STOU", "APPE", "DELE", "RNFR", "RNTO", "MKD", "RMD", "SITE"}

    class Handler(base):
        dtp_handler = DataHandler
        uploader = None

        def pre_process_command(self, line, cmd, arg):
            if args.write_log and cmd in writes:
                with open(args.write_log, "a") as log:
                    log.write("%s %s\n" % (cmd, arg))
            return super().pre_process_command(line, cmd, arg)

        def ftp_STOR(self, file, mode="w"):
            self.stor_name = file
            if args.one_tls_session:
                Handler.uploader = Handler.uploader or self
                if Handler.uploader is not self:
                    self.respond("522 SSL connection failed: session reuse required")
                    return
            if args.deny and args.deny in file:
                self.respond("550 Upload denied.")
                return
            return super().ftp_STOR(file, mode)

    Handler.authorizer = authorizer
    Handler.passive_ports = None
    if args.tls:
        Handler.certfile = make_certificate(args.tls)
        Handler.tls_control_required = True
        Handler.tls_data_required = True
    config_logging(level=logging.WARNING)
    server = FTPServer(("127.0.0.1", 0), Handler)
    server.max_cons_per_ip = args.max_connections
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
