// Linux only: points the stand-in at the fixture (QUILLET_TEST_DATA is this folder) that describes
// MSSMBios_RawSMBiosTables as Wine delivers it, before any test connects (the repository is loaded
// at the first ConnectServer). On Windows the tests read Wine's own WMI instead.
#include <stdlib.h>

#include <string>

namespace {

struct StandInRepository
{
    StandInRepository()
    {
        const char* data = getenv("QUILLET_TEST_DATA");
        if (data != NULL && getenv("WMISIM_REPOSITORY") == NULL) {
            const std::string path = std::string(data) + "/fixtures/raw_smbios_tables.mof";
            setenv("WMISIM_REPOSITORY", path.c_str(), 1);
        }
    }
};

const StandInRepository repository;

}  // namespace
