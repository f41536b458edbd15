#pragma once
// Late-bound calls through IDispatch, by member name.
#include <windows.h>
#include <oaidl.h>

// A call without arguments: a property read or a method call. A failure
// raises EOleException with the server's own description when it gave one.
void GetByName(IDispatch* target, const wchar_t* name, VARIANT& result);
