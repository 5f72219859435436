"""MOF fixtures for the initiator session scenarios."""

CLASSES = u'''
class ISCSI_ConnectionStatic {
    uint64 UniqueConnectionId;
    uint16 CID;
    uint32 AuthType;
};
class ISCSI_SessionStatic {
    uint64 UniqueSessionId;
    string TargetiSCSIName;
    ISCSI_ConnectionStatic ConnectionsList[];
};
class MSiSCSI_InitiatorSessionInfo {
    string InstanceName;
    uint64 UniqueAdapterId;
    ISCSI_SessionStatic SessionsList[];
};
'''


def connection(connection_id, cid=1, auth_type=0):
    return (u'instance of ISCSI_ConnectionStatic { UniqueConnectionId = %s; CID = %s; '
            u'AuthType = %s; }' % (connection_id, cid, auth_type))


def session(session_id, target, connections):
    return (u'instance of ISCSI_SessionStatic { UniqueSessionId = %s; TargetiSCSIName = "%s"; '
            u'ConnectionsList = %s; }' % (session_id, target, array(connections)))


def adapter(name, adapter_id, sessions):
    """One MSiSCSI_InitiatorSessionInfo instance; `sessions` None leaves SessionsList NULL."""
    body = u'InstanceName = "%s"; UniqueAdapterId = %s;' % (name.replace(u'\\', u'\\\\'), adapter_id)
    if sessions is not None:
        body += u' SessionsList = %s;' % array(sessions)
    return u'instance of MSiSCSI_InitiatorSessionInfo { %s };\n' % body


def array(items):
    return u'{ %s }' % u', '.join(items)


def repository(*adapters):
    return CLASSES + u''.join(adapters)
