// Trace lines that several C++ tests expect: the engine's first connection and a failed query.
// Texts the module fixes, so they are written here once (tests/pylib/traces.py for Python).
#ifndef QUILLET_TEST_TRACE_TEXTS_H
#define QUILLET_TEST_TRACE_TEXTS_H

const char kComInitialised[] = "CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x0";
const char kConnected[] = "Connected to ROOT\\CIMV2 WMI namespace";
// Followed by the HRESULT in hexadecimal.
const char kQueryFailed[] = "Query for operating system name failed. Error code = 0x";

#endif
