#!/usr/bin/env python
"""Inventory of an iSCSI initiator host through Quillet.

Lists the adapters that hold sessions, then for each adapter instance name given on the command
line prints its HBA information, TCP/IP and NIC configuration, its sessions and connections, and
the MPIO PDORemovePeriod. The module traces every step on stdout; this report goes to stderr so
that it stands out (use --quiet to drop the traces).

With --json the same inventory is one JSON document (docs/inventory.schema.json) for programs:
on stdout, with the traces dropped, or in FILE.

    inventory.py [--quiet] [--set-period SECONDS] ADAPTER_INSTANCE_NAME...
    inventory.py ADAPTER_INSTANCE_NAME... --json [FILE]
"""
import argparse
import os
import sys

import inventory_json


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description='Inventory of an iSCSI initiator host.')
    parser.add_argument('adapters', nargs='*', metavar='ADAPTER_INSTANCE_NAME',
                        help='WMI instance name of an adapter (as in its HBA information)')
    parser.add_argument('--quiet', action='store_true', help='drop the module\'s traces (stdout)')
    parser.add_argument('--set-period', type=int, metavar='SECONDS',
                        help='store this PDORemovePeriod, then read it back')
    parser.add_argument('--json', nargs='?', const='-', metavar='FILE',
                        help='write the inventory as JSON to FILE, or to stdout without the traces '
                             '(give - as FILE when adapter names follow)')
    options = parser.parse_args(argv)
    if options.json is not None and options.set_period is not None:
        parser.error('--json only reads: it does not take --set-period')
    return options


def silence_traces():
    # The traces are written by C code to file descriptor 1, so sys.stdout alone is not enough.
    sys.stdout.flush()
    devnull = os.open(os.devnull, os.O_WRONLY)
    os.dup2(devnull, 1)
    os.close(devnull)


class Report(object):
    """The human-readable report, written to stderr as UTF-8 whatever the locale says."""

    def __init__(self, stream):
        # Python 3's text streams take bytes through their buffer; Python 2's take them as they are.
        self.stream = getattr(stream, 'buffer', stream)

    def line(self, text=u'', indent=0):
        self.stream.write((u'  ' * indent + text + u'\n').encode('utf-8'))
        self.stream.flush()

    def field(self, label, value, indent=1):
        self.line(u'%-26s %s' % (label + u':', value), indent)


def dotted_quad(address):
    value = address['IpV4Address']
    return u'.'.join(u'%d' % ((value >> shift) & 0xFF) for shift in (24, 16, 8, 0))


def mac_text(octets):
    return u'-'.join(u'%02X' % octet for octet in octets)


def guid_text(octets):
    # The 16 bytes of a GUID as Windows lays it out in memory: three little-endian fields, then
    # eight bytes in order.
    data = list(octets)
    return u'{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}' % tuple(
        data[3::-1] + data[5:3:-1] + data[7:5:-1] + data[8:16])


def wql_literal_text(name):
    # The module puts the name between double quotes of a WQL string literal as it stands, so
    # backslashes and quotes must be escaped here, as WQL wants them.
    return name.replace(u'\\', u'\\\\').replace(u'"', u'\\"')


def yes_no(flag):
    return u'yes' if flag else u'no'


def report_hba(report, info):
    report.line(u'HBA information', 1)
    report.field(u'Vendor', info['VendorID'], 2)
    report.field(u'Model', info['VendorModel'], 2)
    report.field(u'Vendor version', info['VendorVersion'], 2)
    report.field(u'Driver', info['DriverName'], 2)
    report.field(u'Firmware', info['FirmwareVersion'], 2)
    report.field(u'ASIC', info['AsicVersion'], 2)
    report.field(u'Option ROM', info['OptionRomVersion'], 2)
    report.field(u'Serial number', info['SerialNumber'], 2)
    report.field(u'Unique adapter id', info['UniqueAdapterId'], 2)
    report.field(u'Generational GUID', guid_text(info['GenerationalGuid']), 2)
    report.field(u'Ports', info['NumberOfPorts'], 2)
    report.field(u'Interface versions', u'%d to %d' % (info['VersionMin'], info['VersionMax']), 2)
    report.field(u'Integrated TCP/IP', yes_no(info['IntegratedTCPIP']), 2)
    report.field(u'Active', yes_no(info['Active']), 2)


def report_tcpip(report, config):
    report.line(u'TCP/IP configuration', 1)
    report.field(u'IP address', dotted_quad(config['IpAddress']), 2)
    report.field(u'Subnet mask', dotted_quad(config['SubnetMask']), 2)
    report.field(u'Default gateway', dotted_quad(config['DefaultGateway']), 2)
    report.field(u'Preferred DNS server', dotted_quad(config['PreferredDNSServer']), 2)
    report.field(u'Alternate DNS server', dotted_quad(config['AlternateDNSServer']), 2)
    report.field(u'DHCP', u'on' if config['EnableDHCP'] else u'off', 2)


def report_nic(report, config):
    report.line(u'NIC configuration', 1)
    report.field(u'MAC address', mac_text(config['MacAddress']), 2)
    report.field(u'Link speed', u'%d Mbit/s (max %d Mbit/s)' % (config['LinkSpeed'], config['MaxLinkSpeed']), 2)
    report.field(u'Link state', u'up' if config['LinkState'] == 1 else u'down (%d)' % config['LinkState'], 2)
    report.field(u'Max frame size', u'%d bytes' % config['MaxFrameSize'], 2)


def report_section(report, title, reporter, value):
    if value:
        reporter(report, value)
    else:
        report.line(u'%s: not available' % title, 1)


def report_sessions(report, adapter):
    sessions = adapter['SessionsList'] if adapter else []
    report.line(u'Sessions: %d' % len(sessions), 1)
    for session in sessions:
        report.line(u'Session %s -> %s' % (session['UniqueSessionId'], session['TargetiSCSIName']), 2)
        for connection in session['ConnectionsList']:
            report.line(u'Connection %s  CID %d  auth %s' % (
                connection['UniqueConnectionId'], connection['CID'],
                u'CHAP' if connection['AuthType'] == 1 else u'none (%d)' % connection['AuthType']), 3)


def adapter_names(options):
    for name in options.adapters:
        if isinstance(name, bytes):  # Python 2's command line is bytes
            name = name.decode(sys.getfilesystemencoding() or 'utf-8')
        yield name


def write_json(options):
    to_stdout = options.json == '-'
    # On stdout the document keeps the real descriptor 1; the traces written to it are dropped.
    output = os.fdopen(os.dup(1), 'wb') if to_stdout else None
    if to_stdout or options.quiet:
        silence_traces()
    import Quillet

    document = inventory_json.inventory(Quillet, list(adapter_names(options)), wql_literal_text)
    with output or open(options.json, 'wb') as stream:
        inventory_json.write(document, stream)
    return 0


def main(argv):
    options = parse_arguments(argv)
    if options.json is not None:
        return write_json(options)
    if options.quiet:
        silence_traces()
    import Quillet

    report = Report(sys.stderr)
    facade = Quillet.WMIFacade()

    adapters = facade.GetMSiSCSI_InitiatorSessionInfo(u'')
    report.line(u'Adapters with sessions: %d' % len(adapters))
    for adapter in adapters:
        count = len(adapter['SessionsList'])
        report.line(u'%s (%d session%s)' % (adapter['UniqueAdapterId'], count, u'' if count == 1 else u's'), 1)
    by_id = dict((adapter['UniqueAdapterId'], adapter) for adapter in adapters)

    for name in adapter_names(options):
        report.line()
        report.line(u'Adapter %s' % name)
        name = wql_literal_text(name)
        info = facade.GetMSiSCSI_HBAInformation(name)
        if not info or not info['InstanceName']:
            report.line(u'no HBA information for this instance name', 1)
            continue
        report_hba(report, info)
        # A failed read answers an empty dictionary: say so rather than stop the inventory.
        report_section(report, u'TCP/IP configuration', report_tcpip, facade.GetMSiSCSI_TCPIPConfig(name))
        report_section(report, u'NIC configuration', report_nic, facade.GetMSiSCSI_NICConfig(name))
        report_sessions(report, by_id.get(info['UniqueAdapterId']))

    report.line()
    period = facade.GetPDORemovePeriod()
    report.line(u'PDORemovePeriod: %s' % (u'%d s' % period if period is not None else u'not available'))
    if options.set_period is not None:
        stored = facade.SetPDORemovePeriod(options.set_period)
        report.line(u'Set PDORemovePeriod to %d s: %s' % (options.set_period, u'stored' if stored else u'failed'))
        period = facade.GetPDORemovePeriod()
        report.line(u'PDORemovePeriod read back: %s' % (u'%d s' % period if period is not None else u'not available'))
        if period != options.set_period:
            return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
