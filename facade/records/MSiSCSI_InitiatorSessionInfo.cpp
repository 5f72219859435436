#include "records/MSiSCSI_InitiatorSessionInfo.h"

#include <iostream>

#include "python/py_ref.h"
#include "python/py_text.h"
#include "python/record_list.h"
#include "records/embedded_classes.h"
#include "trace/identifier_trace.h"

MSiSCSI_InitiatorSessionInfo::MSiSCSI_InitiatorSessionInfo()
{
    std::cout << "MSiSCSI_InitiatorSessionInfo" << std::endl;
}

MSiSCSI_InitiatorSessionInfo::~MSiSCSI_InitiatorSessionInfo()
{
    std::cout << "~MSiSCSI_InitiatorSessionInfo" << std::endl;
}

void MSiSCSI_InitiatorSessionInfo::read()
{
    getUInt64String(L"UniqueAdapterId", m_values.uniqueAdapterId.text);
    quillet::traceIdentifier("UniqueAdapterId", m_values.uniqueAdapterId.text);
    quillet::readObjectArray<ISCSI_SessionStatic>(*this, L"SessionsList", &kSessionStaticClass,
                                                  m_values.sessions);
}

PyObject* MSiSCSI_InitiatorSessionInfo::PyGetObject() const
{
    quillet::PyRef sessions(quillet::buildList<ISCSI_SessionStatic>(m_values.sessions));
    if (sessions.get() == NULL)
        return NULL;
    // The builder skips ',' and ':' alike between items: two entries.
    return Py_BuildValue("{s:u,s,O}", "UniqueAdapterId",
                         quillet::PyText(m_values.uniqueAdapterId).unicode(), "SessionsList",
                         sessions.get());
}
