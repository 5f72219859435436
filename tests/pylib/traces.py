"""Trace lines that many scenarios expect: the engine's connection and its failures, a record's
release. Texts the module fixes, so they are written here once."""

# The first connection of a thread.
COM_INITIALISED = 'CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x0'
CONNECTED = 'Connected to ROOT\\CIMV2 WMI namespace'
CONNECT = [COM_INITIALISED, CONNECTED]

# A later connection attempt on the same thread, after an earlier one set process security.
COM_ALREADY_INITIALISED = 'CoInitializeEx returned S_FALSE'
RETRY = [COM_ALREADY_INITIALISED, 'CoInitializeSecurity returned RPC_E_TOO_LATE']
RECONNECT = RETRY + [CONNECTED]

# Each is followed by the HRESULT in hexadecimal.
CONNECT_FAILED = 'Could not connect. Error code = 0x'
QUERY_FAILED = 'Query for operating system name failed. Error code = 0x'

# A record's WMIObject part going, with an object to release.
RELEASING = '~WMIObject - releasing'
