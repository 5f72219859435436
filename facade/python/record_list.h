// The session tree's levels (adapters, sessions, connections) in two phases. Reading, with the
// interpreter lock released: RecordList owns one level's heap records, readEach reads them all,
// and readObjectArray keeps a nested level's values once its records are gone. Building, with the
// lock held: convertInto and buildList turn what was read into Python lists.
#ifndef QUILLET_RECORD_LIST_H
#define QUILLET_RECORD_LIST_H

#include <Python.h>
#include <cstddef>
#include <utility>
#include <vector>

#include "python/py_ref.h"
#include "wmiobject/wmiobject.h"

namespace quillet {

// One level's heap records, each created as the class Record (by the engine or getObjectArray,
// through that class's entry of records/embedded_classes.h). Owns every pointer in its vector
// and deletes them all, in order, through the virtual destructor when it goes out of scope, so no
// path (a failed read or conversion, a memory failure while the vector was filled) leaks a record.
template <typename Record>
class RecordList
{
public:
    RecordList() {}
    ~RecordList()
    {
        for (size_t i = 0; i < m_records.size(); ++i)
            delete m_records[i];
    }
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;

    // The vector the engine or getObjectArray appends to.
    std::vector<WMIObject*>& items() { return m_records; }
    size_t size() const { return m_records.size(); }
    Record& at(size_t i) const { return *static_cast<Record*>(m_records[i]); }

    // Reads every record in order: all of a level's records are read before any is deleted.
    // Touches no Python object; may throw std::bad_alloc.
    void readEach()
    {
        for (size_t i = 0; i < m_records.size(); ++i)
            at(i).read();
    }

    // Converts every record that readEach read and appends each object to list. Stops at the
    // first failure and returns false with the Python exception set; the objects already
    // appended belong to the list.
    bool convertInto(PyObject* list) const
    {
        for (size_t i = 0; i < m_records.size(); ++i) {
            PyObject* object = at(i).PyGetObject();
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
    std::vector<WMIObject*> m_records;
};

// Reads owner's array of embedded objects into records of class Record (elementClass must make
// that class), reads them all, appends their values to `values` in array order and deletes the
// records. Whatever the array reader appended is read, also when it could not read the array
// whole. Touches no Python object.
// Throws std::bad_alloc when memory runs out, after deleting the records made so far.
template <typename Record>
void readObjectArray(WMIObject& owner, const wchar_t* property, const EmbeddedClass* elementClass,
                     std::vector<typename Record::Values>& values)
{
    RecordList<Record> records;
    owner.getObjectArray(property, elementClass, records.items());
    records.readEach();
    values.reserve(values.size() + records.size());
    for (size_t i = 0; i < records.size(); ++i)
        values.push_back(std::move(records.at(i).values()));
}

// A new list of the objects Record::build makes from each of values, or NULL with the Python
// exception set (the objects built so far are released).
template <typename Record>
PyObject* buildList(const std::vector<typename Record::Values>& values)
{
    PyRef list(PyList_New(static_cast<Py_ssize_t>(values.size())));
    if (list.get() == NULL)
        return NULL;
    for (size_t i = 0; i < values.size(); ++i) {
        PyObject* object = Record::build(values[i]);
        if (object == NULL)
            return NULL;  // the slots not yet filled are empty, which the list's release allows
        PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), object);  // the list takes it over
    }
    return list.release();
}

}  // namespace quillet

#endif
