#pragma once
// The component's one creatable class. It keeps nothing of the host's context
// itself: every assignment goes straight into the public variables of the
// thread's one dialog object, which does all the work.
#include <QObject>

namespace cz {

class ControlZones : public QObject {
    Q_OBJECT
    Q_CLASSINFO("ClassId", "e8f9d230-24e9-4c51-a37d-64ec7adf04c3")
    Q_CLASSINFO("InterfaceId", "93eeec01-0a82-42b2-a427-c3b5bb0e4d74")
    Q_CLASSINFO("DispId.Parent", "0x68030003")
    Q_CLASSINFO("DispId.DBConnection", "0x68030002")
    Q_CLASSINFO("DispId.NTConnection", "0x68030001")
    Q_CLASSINFO("DispId.CONTROLZONETYPE", "0x68030000")
    Q_CLASSINFO("DispId.RaiseForm", "0x60030004")
    // Write-only, as declared by the type library: reading raises error 451.
    Q_PROPERTY(QObject* Parent READ writeOnlyObject WRITE setParentObject)
    Q_PROPERTY(QObject* DBConnection READ writeOnlyObject WRITE setDBConnection)
    Q_PROPERTY(QObject* NTConnection READ writeOnlyObject WRITE setNTConnection)
    Q_PROPERTY(int CONTROLZONETYPE READ writeOnlyInt WRITE setControlZoneType)

public:
    explicit ControlZones(QObject* parent = nullptr);

    void setParentObject(QObject* newParent);
    void setDBConnection(QObject* newConnection);
    void setNTConnection(QObject* newNTConnection);
    void setControlZoneType(int newCZType);
    int controlZoneType() const { return czType_; }

    Q_INVOKABLE void RaiseForm(int& ControllerId);

private:
    QObject* writeOnlyObject() const;
    int writeOnlyInt() const;

    int czType_ = 0;
};

}  // namespace cz
