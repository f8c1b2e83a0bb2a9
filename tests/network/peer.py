# A raw peer of the game on 127.0.0.1: connects to the port given, then
# sends what it is told on its standard input, one order a line:
#   send TEXT    one message, TEXT in Windows-1252, nothing after it
#   sleep SEC    a pause, so that the next message arrives in a read of its own
# It notes "connected" in the notes file once the game has taken the
# connection, and whatever the game sends is read and dropped.
import socket
import sys
import threading
import time

port, notes = int(sys.argv[1]), sys.argv[2]

# The game listens only once its "Connexion" has been pressed.
deadline = time.monotonic() + 15
while True:
    try:
        link = socket.create_connection(("127.0.0.1", port), timeout=5)
        break
    except OSError:
        if time.monotonic() > deadline:
            raise
        time.sleep(0.1)
link.settimeout(None)
with open(notes, "a") as f:
    f.write("connected\n")


def drain():
    while link.recv(4096):
        pass


threading.Thread(target=drain, daemon=True).start()
for line in sys.stdin:
    order, _, text = line.rstrip("\n").partition(" ")
    if order == "send":
        link.sendall(text.encode("cp1252"))
    elif order == "sleep":
        time.sleep(float(text))
