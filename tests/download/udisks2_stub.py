'''Stand-in for UDisks2: one drive whose one file system is mounted at "mount_point";
"refuse" maps a method (Unmount, PowerOff) to the error it answers.'''

import dbus

from dbusmock import mockobject

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
IS_OBJECT_MANAGER = True


def load(mock, parameters):
    def code(method):
        error = parameters.get('refuse', {}).get(method)
        return f"raise dbus.exceptions.DBusException('no', name='{error}')" if error else ''

    drive = '/org/freedesktop/UDisks2/drives/Cinema_Stick'
    block = '/org/freedesktop/UDisks2/block_devices/sdz1'
    mock.AddObject(drive, 'org.freedesktop.UDisks2.Drive', {}, [('PowerOff', 'a{sv}', '', code('PowerOff'))])
    point = dbus.ByteArray(parameters['mount_point'].encode() + b'\0')
    mock.AddObject(block, 'org.freedesktop.UDisks2.Filesystem', {'MountPoints': dbus.Array([point], signature='ay')},
                   [('Unmount', 'a{sv}', '', code('Unmount'))])
    mockobject.objects[block].AddProperties('org.freedesktop.UDisks2.Block', {'Drive': dbus.ObjectPath(drive)})
