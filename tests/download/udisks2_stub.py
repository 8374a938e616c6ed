'''Stand-in for the UDisks2 disk service: one drive whose one file system is mounted at
the "mount_point" parameter. Its methods succeed; a test replaces one with AddMethod to
make it refuse.'''

import dbus

from dbusmock import mockobject

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

DRIVE = '/org/freedesktop/UDisks2/drives/Cinema_Stick'
BLOCK = '/org/freedesktop/UDisks2/block_devices/sdz1'


def load(mock, parameters):
    mock.AddObject(DRIVE, 'org.freedesktop.UDisks2.Drive', {'Removable': True},
                   [('PowerOff', 'a{sv}', '', '')])
    point = dbus.ByteArray(parameters['mount_point'].encode() + b'\0')
    mock.AddObject(BLOCK, 'org.freedesktop.UDisks2.Filesystem',
                   {'MountPoints': dbus.Array([point], signature='ay')},
                   [('Unmount', 'a{sv}', '', '')])
    mockobject.objects[BLOCK].AddProperties('org.freedesktop.UDisks2.Block',
                                            {'Drive': dbus.ObjectPath(DRIVE)})
