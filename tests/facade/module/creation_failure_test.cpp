// Creating a WMIFacade object when no engine can be made (memory exhausted): MemoryError, and the
// half-built object is freed without its destruction slot, so a Python subclass's __del__ never
// meets an object without an engine. The module is compiled into this program and imported by
// an embedded interpreter.
#include <Python.h>

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "allocation_fault.h"
#include "captured_output.h"

#if PY_MAJOR_VERSION >= 3
PyMODINIT_FUNC PyInit_Quillet(void);
#define QUILLET_INIT PyInit_Quillet
#else
PyMODINIT_FUNC initQuillet(void);
#define QUILLET_INIT initQuillet
#endif

// The engine is made with the non-throwing new. It goes through this program's operator new, as
// the C++ library's own does, so the armed fault reaches it also where a sanitizer runtime would
// otherwise supply its own.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(size);
    } catch (...) {
        return NULL;
    }
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    ::operator delete(memory);
}

namespace {

// Subclasses whose __del__ calls a method, as a user's might: one with an instance dictionary and
// one without; both are collected by the GC, as every heap subclass of the type is.
const char kScript[] = "import gc, sys\n"
                       "import Quillet\n"
                       "finalized = []\n"
                       "class Plain(Quillet.WMIFacade):\n"
                       "    def __del__(self):\n"
                       "        finalized.append(self.printSomething())\n"
                       "class Slotted(Quillet.WMIFacade):\n"
                       "    __slots__ = ()\n"
                       "    def __del__(self):\n"
                       "        finalized.append(self.printSomething())\n"
                       "def create(cls):\n"
                       "    try:\n"
                       "        cls()\n"
                       "    except MemoryError:\n"
                       "        return 'MemoryError'\n"
                       "    return 'created'\n";

class CreationFailureTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        PyImport_AppendInittab("Quillet", QUILLET_INIT);
        Py_Initialize();
        ASSERT_EQ(0, PyRun_SimpleString(kScript));
    }

    // The value of a Python expression in the script's namespace, as an integer (-1 on error).
    static long evaluate(const std::string& expression)
    {
        PyObject* globals = PyModule_GetDict(PyImport_AddModule("__main__"));
        PyObject* value = PyRun_String(expression.c_str(), Py_eval_input, globals, globals);
        if (!value) {
            PyErr_Print();
            return -1;
        }
        long number = PyLong_AsLong(value);
        Py_DECREF(value);
        return number;
    }
};

TEST_F(CreationFailureTest, NoEngineRaisesMemoryErrorWithoutDestruction)
{
    for (const char* type : {"Quillet.WMIFacade", "Plain", "Slotted"}) {
        const std::string name(type);
        const long references = evaluate("sys.getrefcount(" + name + ")");
        const std::string create = "create(" + name + ") == 'MemoryError'";
        long failed = 0;
        std::string out = captureOutput([&] {
            armAllocationFault(1);
            failed = evaluate(create);
            disarmAllocationFault();
        });
        EXPECT_EQ(1, failed) << type;
        EXPECT_TRUE(allocationFaultFired()) << type;
        // No engine: neither of its lines, and no "Hola World!!!" from a __del__.
        EXPECT_EQ("", out) << type;
        EXPECT_EQ(1, evaluate("finalized == []")) << type;
        // The instance's reference to its class went with it, and the GC holds no freed object.
        EXPECT_EQ(references, evaluate("sys.getrefcount(" + name + ")")) << type;
        EXPECT_EQ(1, evaluate("gc.collect() >= 0")) << type;
    }

    // Creation and destruction are whole again once memory is there.
    std::string out = captureOutput(
        [&] { EXPECT_EQ(1, evaluate("create(Plain) == 'created' and finalized == [0]")); });
    EXPECT_EQ("WMIFacade\nHola World!!!\n~WMIFacade\n", out);
}

}  // namespace
