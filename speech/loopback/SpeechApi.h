#pragma once
// The runtime's automation interfaces as mingw-w64 declares them; sapi.h
// needs the basic Windows and OLE types declared first.
#include <windows.h>
#include <ole2.h>
#include <sapi.h>
