#include "records/embedded_classes.h"

#include "records/ISCSI_ConnectionStatic.h"
#include "records/ISCSI_IP_Address.h"
#include "records/ISCSI_SessionStatic.h"
#include "records/MSiSCSI_InitiatorSessionInfo.h"

namespace {

template <typename Record>
WMIObject* createRecord()
{
    return new Record;
}

}  // namespace

const EmbeddedClass SESSION_INFO_CLASS = {"MSiSCSI_InitiatorSessionInfo",
                                          &createRecord<MSiSCSI_InitiatorSessionInfo>};
const EmbeddedClass SESSION_STATIC_CLASS = {"ISCSI_SessionStatic",
                                            &createRecord<ISCSI_SessionStatic>};
const EmbeddedClass CONNECTION_STATIC_CLASS = {"ISCSI_ConnectionStatic",
                                               &createRecord<ISCSI_ConnectionStatic>};
const EmbeddedClass IP_ADDRESS_CLASS = {"ISCSI_IP_Address", &createRecord<ISCSI_IP_Address>};
