"""Random small MOF repositories for fuzzing: the module's classes with their real property
names, but with properties dropped, retyped (a string where a number is read, a scalar where an
array is read, an object where a string is read), set to NULL, empty or odd values.

Everything is drawn from the random.Random passed in, so a seed names a repository.
"""

SCALARS = ('boolean', 'uint8', 'sint8', 'uint16', 'sint16', 'uint32', 'sint32', 'uint64',
           'sint64', 'real32', 'real64', 'char16', 'string', 'datetime')

RANGES = {
    'uint8': (0, 2 ** 8 - 1), 'sint8': (-2 ** 7, 2 ** 7 - 1),
    'uint16': (0, 2 ** 16 - 1), 'sint16': (-2 ** 15, 2 ** 15 - 1), 'char16': (0, 2 ** 16 - 1),
    'uint32': (0, 2 ** 32 - 1), 'sint32': (-2 ** 31, 2 ** 31 - 1),
    'uint64': (0, 2 ** 64 - 1), 'sint64': (-2 ** 63, 2 ** 63 - 1),
    'boolean': (-2 ** 15, 2 ** 15 - 1),  # odd data: an integer stored as the 16-bit value
}

# Each class in dependency order, with its properties as the module reads them.
CLASSES = (
    ('ISCSI_IP_Address', (('Type', 'uint32'), ('IpV4Address', 'uint32'))),
    ('ISCSI_ConnectionStatic', (('UniqueConnectionId', 'uint64'), ('CID', 'uint16'),
                                ('AuthType', 'uint32'))),
    ('ISCSI_SessionStatic', (('UniqueSessionId', 'uint64'), ('TargetiSCSIName', 'string'),
                             ('ConnectionsList', 'ISCSI_ConnectionStatic[]'))),
    ('MSiSCSI_InitiatorSessionInfo', (('InstanceName', 'string'), ('UniqueAdapterId', 'uint64'),
                                      ('SessionsList', 'ISCSI_SessionStatic[]'))),
    ('MSiSCSI_HBAInformation', (
        ('InstanceName', 'string'), ('Active', 'boolean'), ('UniqueAdapterId', 'uint64'),
        ('IntegratedTCPIP', 'boolean'), ('RequiresBinaryIpAddresses', 'boolean'),
        ('VersionMin', 'uint8'), ('VersionMax', 'uint8'), ('MultifunctionDevice', 'boolean'),
        ('CacheValid', 'boolean'), ('NumberOfPorts', 'uint32'), ('Status', 'uint32'),
        ('FunctionalitySupported', 'uint32'), ('GenerationalGuid', 'uint8[]'),
        ('MaxCDBLength', 'uint32'), ('BiDiScsiCommands', 'boolean'), ('VendorID', 'string'),
        ('VendorModel', 'string'), ('VendorVersion', 'string'), ('FirmwareVersion', 'string'),
        ('AsicVersion', 'string'), ('OptionRomVersion', 'string'), ('SerialNumber', 'string'),
        ('DriverName', 'string'))),
    ('MSiSCSI_TCPIPConfig', (
        ('InstanceName', 'string'), ('Active', 'boolean'), ('UseLinkLocalAddress', 'boolean'),
        ('EnableDHCP', 'boolean'), ('UseDHCPForDNS', 'boolean'), ('IPVersions', 'uint32'),
        ('IpAddress', 'ISCSI_IP_Address'), ('SubnetMask', 'ISCSI_IP_Address'),
        ('DefaultGateway', 'ISCSI_IP_Address'), ('PreferredDNSServer', 'ISCSI_IP_Address'),
        ('AlternateDNSServer', 'ISCSI_IP_Address'))),
    ('MSiSCSI_NICConfig', (
        ('InstanceName', 'string'), ('LinkSpeed', 'uint32'), ('MaxLinkSpeed', 'uint32'),
        ('LinkState', 'uint32'), ('MaxFrameSize', 'uint32'), ('MacAddress', 'uint8[]'))),
    ('MPIO_TIMERS_COUNTERS', (('InstanceName', 'string'), ('PDORemovePeriod', 'uint32'))),
)
EMBEDDED = ('ISCSI_IP_Address', 'ISCSI_ConnectionStatic', 'ISCSI_SessionStatic')
TOP_LEVEL = [name for name, _ in CLASSES if name not in EMBEDDED]

# Instance names the fuzzer also passes as arguments, escaped for WQL by the caller.
NAMES = (u'ROOT\\ISCSIPRT\\0000_0', u'', u'\u00e9t\u00e9 \U0001F600 "q"', u'x' * 300)

_CHARACTERS = (u'a', u'Z', u'0', u' ', u'\u00e9', u'\u4e2d', u'\U0001F600', u'"', u'\\', u'\n',
               u'\x00', u'\ud800', u'\udfff', u'\uffff')


def wql_escaped(name):
    return name.replace(u'\\', u'\\\\').replace(u'"', u'\\"')


def _text_literal(text):
    out = []
    for character in text:
        code = ord(character)
        if character in u'\\"':
            out.append(u'\\' + character)
        elif code < 0x20 or 0xD800 <= code <= 0xDFFF or code == 0xFFFF:
            out.append(u'\\x%04X' % code)
        else:
            out.append(character)
    return u'"%s"' % u''.join(out)


def random_text(rng):
    length = rng.choice((0, 1, 5, 23, 24, 25, 254, 255, 256, 257, 1000))
    if rng.random() < 0.5:
        return u''.join(rng.choice(u'0123456789') for _ in range(length))
    return u''.join(rng.choice(_CHARACTERS) for _ in range(length))


def _integer(rng, type_name):
    low, high = RANGES[type_name]
    value = rng.choice((low, high, 0, 1, rng.randint(low, high), high // 2 + 1))
    if value >= 0 and rng.random() < 0.3:
        return u'0x%X' % value
    return u'%d' % value


def _scalar(rng, declared, type_name, depth):
    if type_name in RANGES and not (type_name == 'boolean' and rng.random() < 0.7):
        return _integer(rng, type_name)
    if type_name == 'boolean':
        return rng.choice((u'TRUE', u'FALSE'))
    if type_name in ('real32', 'real64'):
        return rng.choice((u'0.0', u'-1.5', u'3.4e38', u'1e-30', u'42'))
    if type_name in ('string', 'datetime'):
        return _text_literal(random_text(rng))
    return _instance(rng, declared, type_name, depth + 1)


def _value(rng, declared, type_name, depth):
    if rng.random() < 0.15:
        return u'NULL'
    if type_name.endswith('[]'):
        element = type_name[:-2]
        count = rng.choice((0, 0, 1, 2, 3, 17))
        items = [u'NULL' if element in EMBEDDED and rng.random() < 0.2
                 else _scalar(rng, declared, element, depth) for _ in range(count)]
        return u'{ %s }' % u', '.join(items)
    return _scalar(rng, declared, type_name, depth)


def _instance(rng, declared, class_name, depth, name=None):
    if depth > 3:
        return u'NULL'
    if class_name == 'object':
        class_name = rng.choice(EMBEDDED)
    body = []
    for property_name, type_name in declared[class_name]:
        if property_name == 'InstanceName' and name is not None and type_name == 'string':
            body.append(u'InstanceName = %s;' % _text_literal(name))
        elif rng.random() < 0.85:
            body.append(u'%s = %s;' % (property_name, _value(rng, declared, type_name, depth)))
    return u'instance of %s { %s }' % (class_name, u' '.join(body))


def _odd_type(rng, type_name, declared):
    """A type the module does not expect for this property, from the MOF subset (classes must
    be declared before use)."""
    embedded = [name for name in EMBEDDED if name in declared]
    choices = list(SCALARS) + [s + '[]' for s in SCALARS] + embedded + ['object']
    choices += [e + '[]' for e in embedded]
    choice = rng.choice(choices)
    return choice if choice != type_name else 'string'


def repository(rng, odd_rate=0.15, drop_rate=0.05):
    """MOF text of a random repository; a few instances of each class the module queries."""
    declared = {}
    out = []
    for class_name, properties in CLASSES:
        properties_declared = []
        for property_name, type_name in properties:
            if rng.random() < drop_rate:
                continue
            if rng.random() < odd_rate:
                type_name = _odd_type(rng, type_name, declared)
            properties_declared.append((property_name, type_name))
        declared[class_name] = properties_declared
        lines = []
        for property_name, type_name in properties_declared:
            array = type_name.endswith('[]')
            lines.append(u'    %s %s%s;' % (type_name[:-2] if array else type_name, property_name,
                                             u'[]' if array else u''))
        out.append(u'class %s {\n%s\n};\n' % (class_name, u'\n'.join(lines)))
    for class_name in TOP_LEVEL:
        for _ in range(rng.choice((0, 1, 1, 2, 3))):
            # Most instances bear a name the fuzzer asks for.
            name = rng.choice(NAMES) if rng.random() < 0.7 else None
            out.append(_instance(rng, declared, class_name, 0, name) + u';\n')
    return u''.join(out)
