// The four entry points of the in-process server. Each hands over to the
// component runtime's generic logic with this component's description.
#include "component/ControlZones.h"
#include "component/TypeLibrary.h"
#include "dialog/FrmMain.h"
#include "platform/automation/ComServer.h"

#include <atomic>

namespace {

std::atomic<int> liveObjects{0};

const automation::com::ServerDescription& server() {
    static const automation::com::ServerDescription description = [] {
        automation::com::ServerDescription d;
        d.typeLibName = cz::typelib::Name;
        d.typeLibGuid = cz::typelib::LibraryGuid;
        d.description = cz::typelib::Description;
        d.version = cz::typelib::version();
        d.classes.push_back({cz::typelib::ClassGuid, cz::typelib::ProgId, cz::typelib::ClassName,
                             [] { return static_cast<QObject*>(new cz::ControlZones); }});
        d.liveCount = &liveObjects;
        return d;
    }();
    return description;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) automation::com::HResult DllRegisterServer() {
    return automation::com::registerServer(server(), automation::com::modulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

__attribute__((visibility("default"))) automation::com::HResult DllUnregisterServer() {
    return automation::com::unregisterServer(server());
}

__attribute__((visibility("default"))) automation::com::HResult DllGetClassObject(const char* clsid, const char* iid, void** factory) {
    return automation::com::getClassObject(server(), clsid, iid, factory);
}

__attribute__((visibility("default"))) automation::com::HResult DllCanUnloadNow() {
    const automation::com::HResult answer = automation::com::canUnloadNow(server());
    // A host that unloads the library must not leave a window of its code behind.
    if (answer == automation::com::S_OK_) cz::FrmMain::ReleaseIdleWindow();
    return answer;
}

}
