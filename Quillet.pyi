# Type stubs of the Quillet module, for Python 3 type checkers and editors.
#
# Every result dictionary is a TypedDict keyed by the WMI property names. A successful read has
# every key; a failed one (no connection, a failed query) answers an empty dictionary, typed
# NoResult: an empty dict whose every lookup raises KeyError, so `result[key]` stays typed by
# the TypedDict and a script tests `if result:` before trusting it. On Python 2.7 the keys are
# byte strings, the texts unicode and IpV4Address a long; these stubs describe Python 3.
import sys
from typing import Dict, List, NoReturn, Optional, Tuple, Union

if sys.version_info >= (3, 8):
    from typing import Literal, TypedDict
else:
    from typing_extensions import Literal, TypedDict

__version__: str

# The empty dictionary a record method answers when connecting to WMI or its query failed.
NoResult = Dict[str, NoReturn]

# Byte arrays, one int (0 to 255) per byte, in the order WMI delivers them.
GuidBytes = Tuple[int, int, int, int, int, int, int, int, int, int, int, int, int, int, int, int]
MacAddressBytes = Tuple[int, int, int, int, int, int]

class HBAInformation(TypedDict):
    Active: int
    AsicVersion: str
    BiDiScsiCommands: int
    CacheValid: int
    DriverName: str
    FirmwareVersion: str
    FunctionalitySupported: int
    GenerationalGuid: GuidBytes
    InstanceName: str
    IntegratedTCPIP: int
    MaxCDBLength: int
    MultifunctionDevice: int
    NumberOfPorts: int
    OptionRomVersion: str
    RequiresBinaryIpAddresses: int
    SerialNumber: str
    Status: int
    UniqueAdapterId: str
    VendorID: str
    VendorModel: str
    VendorVersion: str
    VersionMax: int
    VersionMin: int

class IPAddress(TypedDict):
    IpV4Address: int
    Type: int

class TCPIPConfig(TypedDict):
    Active: int
    EnableDHCP: int
    IPVersions: int
    UseDHCPForDNS: int
    UseLinkLocalAddress: int
    IpAddress: IPAddress
    AlternateDNSServer: IPAddress
    PreferredDNSServer: IPAddress
    DefaultGateway: IPAddress
    SubnetMask: IPAddress

class NICConfig(TypedDict):
    LinkSpeed: int
    MaxLinkSpeed: int
    LinkState: int
    MaxFrameSize: int
    MacAddress: MacAddressBytes

class Connection(TypedDict):
    UniqueConnectionId: str
    AuthType: int
    CID: int

class Session(TypedDict):
    UniqueSessionId: str
    TargetiSCSIName: str
    ConnectionsList: List[Connection]

class InitiatorSessionInfo(TypedDict):
    UniqueAdapterId: str
    SessionsList: List[Session]

def printSomethingGlobal() -> Literal[0]: ...

class WMIFacade:
    # Every argument is accepted and ignored.
    def __init__(self, *args: object, **kwargs: object) -> None: ...
    def printSomething(self) -> Literal[0]: ...
    # The instance name goes into a WQL string literal as it is: double each backslash and
    # write a double quote as \" first.
    def GetMSiSCSI_HBAInformation(self, instance_name: str, /) -> Union[HBAInformation, NoResult]: ...
    def GetMSiSCSI_TCPIPConfig(self, instance_name: str, /) -> Union[TCPIPConfig, NoResult]: ...
    def GetMSiSCSI_NICConfig(self, instance_name: str, /) -> Union[NICConfig, NoResult]: ...
    # The name is required but not used: every adapter's sessions are returned; an empty list
    # also when the query failed.
    def GetMSiSCSI_InitiatorSessionInfo(self, unused_name: str, /) -> List[InitiatorSessionInfo]: ...
    def GetPDORemovePeriod(self) -> Optional[int]: ...
    def SetPDORemovePeriod(self, period: int, /) -> Optional[Literal[1]]: ...
