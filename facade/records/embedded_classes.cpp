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

const EmbeddedClass kSessionInfoClass = {"MSiSCSI_InitiatorSessionInfo",
                                         &createRecord<MSiSCSI_InitiatorSessionInfo>};
const EmbeddedClass kSessionStaticClass = {"ISCSI_SessionStatic",
                                           &createRecord<ISCSI_SessionStatic>};
const EmbeddedClass kConnectionStaticClass = {"ISCSI_ConnectionStatic",
                                              &createRecord<ISCSI_ConnectionStatic>};
const EmbeddedClass kIpAddressClass = {"ISCSI_IP_Address", &createRecord<ISCSI_IP_Address>};
