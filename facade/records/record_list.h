// RecordList: the heap records of one level of the session tree (adapters, sessions or
// connections). It owns every pointer in its vector and deletes them all, in order, through the
// virtual destructor when it goes out of scope, so no path (a failed conversion, a memory
// failure while the vector was filled) leaks a record.
#ifndef QUILLET_RECORD_LIST_H
#define QUILLET_RECORD_LIST_H

#include <Python.h>
#include <cstddef>
#include <new>
#include <vector>

#include "records/py_ref.h"
#include "wmiobject/wmiobject.h"

template <typename Stored>
class RecordList
{
public:
    RecordList() {}
    ~RecordList()
    {
        for (size_t i = 0; i < m_records.size(); ++i)
            delete m_records[i];
    }

    // The vector the engine or getObjectArray appends to.
    std::vector<Stored*>& items() { return m_records; }

    // Converts every record, as the class Record it was created as, and appends each object to
    // list. Stops at the first failure and returns false with the Python exception set; the
    // objects already appended belong to the list.
    template <typename Record>
    bool convertInto(PyObject* list) const
    {
        for (size_t i = 0; i < m_records.size(); ++i) {
            PyObject* object = static_cast<Record*>(m_records[i])->PyGetObject();
            if (object == NULL)
                return false;
            int appended = PyList_Append(list, object);
            Py_DECREF(object);
            if (appended < 0)
                return false;
        }
        return true;
    }

private:
    RecordList(const RecordList&);
    RecordList& operator=(const RecordList&);

    std::vector<Stored*> m_records;
};

// Reads owner's array of embedded objects into records of class Record, converts them all into a
// new list and deletes them. Whatever the array reader appended is converted, also when it could
// not read the array whole. Returns the list, or NULL with the Python exception set (memory
// exhaustion while the records were built becomes MemoryError).
template <typename Record>
PyObject* convertObjectArray(WMIObject& owner, const wchar_t* property, const wchar_t* className)
{
    PyRef list(PyList_New(0));
    if (list.get() == NULL)
        return NULL;
    RecordList<WMIObject> records;
    try {
        owner.getObjectArray(property, className, records.items());
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    }
    if (!records.convertInto<Record>(list.get()))
        return NULL;
    return list.release();
}

#endif
