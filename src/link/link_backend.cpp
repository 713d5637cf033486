#include "link/transport.h"

namespace {

link_backend& backend_storage()
{
    static link_backend backend{&platform_tcp_transport(), &platform_serial_transport(), &platform_link_clock()};
    return backend;
}

}  // namespace

link_backend& link_current_backend()
{
    return backend_storage();
}

void link_use_backend(tcp_transport* tcp, serial_transport* serial, link_clock* clock)
{
    link_backend& b = backend_storage();
    b.tcp = tcp ? tcp : &platform_tcp_transport();
    b.serial = serial ? serial : &platform_serial_transport();
    b.clock = clock ? clock : &platform_link_clock();
}

void link_restore_platform_backend()
{
    link_use_backend(nullptr, nullptr, nullptr);
}
