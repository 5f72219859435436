// Compiled into every Quillet.pyd: the build fails unless the configuration header in use
// describes the Windows interpreter (64-bit or 32-bit) this compiler targets. The interpreter's
// Linux pyconfig.h, found by mistake, would pass the compile and break the module at run time.
#include <Python.h>

#include <cstddef>
#include <type_traits>

#if defined(_WIN64) != defined(MS_WIN64)
#error "MS_WIN64 does not match the target: Py_ssize_t would not match the interpreter"
#endif

static_assert(SIZEOF_LONG == sizeof(long), "a Windows long is 4 bytes");
static_assert(SIZEOF_VOID_P == sizeof(void*) && SIZEOF_SIZE_T == sizeof(size_t),
              "pointer and size_t sizes of the interpreter");
static_assert(sizeof(Py_ssize_t) == sizeof(void*), "Py_ssize_t is pointer-sized on Windows");

#if PY_MAJOR_VERSION == 2
// Unicode objects hold wchar_t text (UTF-16); the "u" codes hand it over unconverted.
static_assert(std::is_same<Py_UNICODE, wchar_t>::value, "Py_UNICODE is wchar_t on Windows");
static_assert(sizeof(Py_UNICODE) == 2, "python27.dll is a narrow (UCS-2) build");
#endif
