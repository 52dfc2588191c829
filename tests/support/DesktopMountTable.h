// A desktop's mount table for tests: system mounts, the user's stick (label with a space), a
// DVD, a share in home, document portals, snaps, a second mount over the same point.
#pragma once

namespace velmora::test {

inline const char* const kDesktopMountTable =
    "22 1 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "23 1 0:22 / /sys rw,nosuid shared:2 - sysfs sysfs rw\n"
    "1 0 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "30 1 259:1 / /boot/efi rw,relatime shared:3 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "31 1 259:3 / /home rw,relatime shared:4 - ext4 /dev/nvme0n1p3 rw\n"
    "40 22 0:40 / /run/user/1000 rw shared:20 - tmpfs tmpfs rw,size=1G,mode=700\n"
    "41 40 0:41 / /run/user/1000/doc rw shared:21 - fuse.portal portal rw,user_id=1000\n"
    "42 1 7:1 / /snap/core/1 ro shared:22 - squashfs /dev/loop1 ro\n"
    "50 1 8:17 / /media/ann/USB\\040STICK rw,nosuid shared:30 - vfat /dev/sdb1 rw\n"
    "51 1 11:0 / /run/media/ann/AUDIO_CD ro shared:31 - iso9660 /dev/sr0 ro\n"
    "52 31 0:50 / /home/ann/nas rw shared:32 - nfs4 nas:/music rw\n"
    "53 31 0:51 / /home/ann/.cache/doc rw shared:33 - fuse.sshfs host: rw\n"
    "54 1 8:33 / /media/ann/Backup rw shared:34 - ext4 /dev/sdc1 rw\n"
    "55 1 0:52 / /media/ann/ram rw shared:35 - tmpfs tmpfs rw\n"
    "56 1 8:49 / /run/media/bob/Other rw shared:36 - ext4 /dev/sdd1 rw\n"
    "57 31 0:53 / /home/ann/Data rw shared:37 - autofs systemd-1 rw\n"
    "58 57 8:65 / /home/ann/Data rw shared:38 - xfs /dev/sde1 rw\n";

} // namespace velmora::test
