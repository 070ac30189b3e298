# The real backend (hidraw, libudev) against xk-r40-vmouse's hidraw nodes, for tests and
# benchmarks: mount and network namespaces of their own with a private /dev, a tmpfs over
# /sys/class/hidraw and udev's events on a private netlink. Source it.

# Why this machine cannot run the namespace (empty when it can).
xk_hidraw_namespace_missing() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "needs root for the namespaces and the FUSE mount"
    elif [ ! -c /dev/fuse ]; then
        echo "no /dev/fuse"
    elif ! command -v unshare >/dev/null || ! unshare --mount --net true 2>/dev/null; then
        echo "no mount and network namespaces (unshare)"
    fi
}

# The command that runs its arguments in fresh namespaces; prepare them there first with
# xk_hidraw_namespace_prepare.
xk_hidraw_unshare=(unshare --mount --net --propagation private)

# Inside the namespaces: the private /dev with the few nodes a program needs, the empty class
# folder and a udev control file (libudev's monitors listen only where udev runs).
xk_hidraw_namespace_prepare() {
    local node name major minor
    mount -t tmpfs -o mode=755 xk-dev /dev || return 1
    for node in null:1:3 zero:1:5 random:1:8 urandom:1:9 tty:5:0 fuse:10:229; do
        IFS=: read -r name major minor <<<"$node"
        mknod -m 666 "/dev/$name" c "$major" "$minor" || return 1
    done
    ln -s /proc/self/fd /dev/fd
    mkdir -m 1777 /dev/shm
    # Without the hidraw driver loaded there is no class folder to cover: cover the classes.
    if [ -d /sys/class/hidraw ]; then
        mount -t tmpfs xk-hidraw /sys/class/hidraw || return 1
    else
        mount -t tmpfs xk-class /sys/class && mkdir /sys/class/hidraw || return 1
    fi
    mkdir -p /run/udev && mount -t tmpfs xk-udev /run/udev && touch /run/udev/control || return 1
    ip link set lo up 2>/dev/null
    # libudev takes device nodes that are not on sysfs.
    export SYSTEMD_DEVICE_VERIFY_SYSFS=0
}
