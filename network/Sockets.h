#pragma once

// The game's two sockets: a server that listens and accepts peers, a client
// that connects to one, and the connections they carry. They only move
// bytes: a failure nobody silenced goes to their OnErrorReport, and the
// window that owns them shows it.
#include "network/ClientSocket.h"
#include "network/ServerSocket.h"
#include "network/SocketConnection.h"
