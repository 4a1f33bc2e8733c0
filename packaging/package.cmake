# The Debian package kestrum_VERSION_ARCH.deb, made by CPack from the installed tree (the
# install rules of src/ and of this folder). scripts/package configures a Release build with
# the prefix /usr and the library directory lib, so that the tree is /usr/lib/kestrum, /usr/bin,
# /usr/share/{applications,icons,man,doc}.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrum)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Kestrum developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Directories of the package readable by all, whatever the umask of the one who builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # kestrum_0.1.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrum developers <kestrum@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Dependencies are those of the programs' ELF files as dpkg-shlibdeps finds them (Qt 6, the C++
# runtime, libc). The two private libraries in /usr/lib/kestrum are opened by full path at
# run time, so no file of the package names them as a needed library and they never appear
# among the dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help page opens in the user's web browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# The summary is the synopsis (Debian's first line of Description); the text below it is the
# extended description, its lines short enough for package managers' windows.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "converts hourly weather data into packed .bin weather files for Simvex")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kestrum turns one year of hourly weather data, an EnergyPlus weather file
(EPW) or a CSV file whose columns the user maps (for example an NSRDB TMY3
file), into the packed .bin weather file that the building-energy simulation
program Simvex reads. It repairs missing and out-of-range hours, derives the
psychrometric state of every hour, estimates direct-normal sunlight where the
source has none, and writes review files that it charts against the result.
.
The package holds the desktop program kestrum (Qt 6) and the command line
program kestrum-cli, which converts single files and batches in worker
processes and writes JSON or HTML run reports.")

include(CPack)
