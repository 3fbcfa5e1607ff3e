#!/usr/bin/python3
"""A StatusNotifierWatcher with a host, on the session bus, as the panels of most current
desktops run one: programs register their tray items with it. Writes each registered item's
bus name, one a line, to the file given as its argument. With --host-after SECONDS, the host
registers that long after the watcher, as when a panel's watcher starts before the panel.
SIGUSR1 registers one more host, as a second panel would.
Notes on standard error, with the clock's time, when it is there and when items register."""
import argparse
import signal
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
PROPS = "org.freedesktop.DBus.Properties"

INTROSPECTION = """<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
  <interface name="org.freedesktop.DBus.Properties">
    <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
    <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
  </interface>
  <interface name="org.freedesktop.DBus.Introspectable">
    <method name="Introspect"><arg type="s" direction="out"/></method>
  </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, out):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []
        self.out = out
        self.host = False
        self.hosts = 0
        self.host_names = []

    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # Items register either their bus name or an object path on their connection.
        name = service if not service.startswith("/") else sender
        self.items.append(name)
        with open(self.out, "a") as f:
            f.write(name + "\n")
        note("item registered: " + name)
        self.StatusNotifierItemRegistered(name)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    def register_host(self):
        self.host = True
        self.hosts += 1
        self.host_names.append(
            dbus.service.BusName("org.kde.StatusNotifierHost-%d" % self.hosts, self.connection))
        note("host registered")
        self.StatusNotifierHostRegistered()
        return False

    def properties(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(self.host),
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()


def note(what):
    print("%.3f %s" % (time.time(), what), file=sys.stderr, flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("items")
    parser.add_argument("--host-after", type=float)
    args = parser.parse_args()
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus, args.items)
    name = dbus.service.BusName(WATCHER, bus)
    note("watcher there")
    if args.host_after is None:
        watcher.register_host()
    else:
        GLib.timeout_add(int(args.host_after * 1000), watcher.register_host)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, watcher.register_host)
    GLib.MainLoop().run()
    del name, watcher


if __name__ == "__main__":
    main()
