// Reads classes and their instances from one namespace into a Capture: each class declared from
// its live definition, superclasses and embedded classes declared before the classes that use
// them, instances in the order the namespace returns them.
#ifndef QUILLET_CAPTURE_NAMESPACE_READER_H
#define QUILLET_CAPTURE_NAMESPACE_READER_H

#include <windows.h>
#include <wbemidl.h>

#include <string>
#include <vector>

#include "capture/captured.h"
#include "capture/value_reader.h"

namespace quillet::capture {

class NamespaceReader : public ObjectClasses
{
public:
    // `services` is borrowed for the reader's lifetime.
    NamespaceReader(IWbemServices* services, Capture* capture)
        : m_services(services), m_capture(capture)
    {}

    // Adds the class, its superclasses, the classes its instances embed and its instances (those
    // of its subclasses included, as WMI returns them; an instance a class captured before
    // returned already is not added again). Returns S_OK, or the HRESULT saying that the
    // namespace lacks the class (then the capture is left as it was). Any other failure is
    // thrown as CaptureError.
    HRESULT captureClass(const std::wstring& className);

    const CapturedClass& classOfObject(IWbemClassObject* object);

private:
    const CapturedClass* findDeclared(const std::wstring& className) const;
    // Declares the class (after its superclass and the classes its properties embed); `instance`
    // stands in for a definition the namespace does not serve. Returns null when the class is
    // missing.
    const CapturedClass* declare(const std::wstring& className, IWbemClassObject* instance,
                                 HRESULT* missing);
    // Declares a superclass or embedded class of the class being declared; false when the
    // namespace lacks it or it is being declared already.
    bool declareUsedClass(const std::wstring& className);
    // Whether a captured class's query returned the instances of `cls` already.
    bool recorded(const CapturedClass& cls) const;

    IWbemServices* m_services;
    Capture* m_capture;
    std::vector<std::wstring> m_declaring;  // guards against classes that refer to each other
    std::vector<std::wstring> m_recorded;   // the classes whose instances were captured
};

}  // namespace quillet::capture

#endif
