// The instance-name argument of the record methods, as the engine takes it.
#ifndef QUILLET_INSTANCE_NAME_H
#define QUILLET_INSTANCE_NAME_H

#include <Python.h>
#include <string>

// Parses args as the one text argument of method into name. Text holding a NUL character is
// refused with a TypeError naming the method, since the engine takes zero-terminated text and
// would query a different, truncated name. Returns false with a Python exception set.
bool parseInstanceName(PyObject* args, const char* method, std::wstring& name);

#endif
