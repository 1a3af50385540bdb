# `cpack -G DEB` in the build tree: one Debian package with both programs, the tables, the desktop
# entry, the AppStream metadata and the icon, installed under /usr.
set(CPACK_PACKAGE_NAME huimingfang)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "慧名坊")
set(CPACK_PACKAGE_CONTACT "慧名坊 <huimingfang@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese baby names by traditional name science (慧名坊)")
set(CPACK_PACKAGE_DESCRIPTION
    "Choose and judge Chinese personal names: the analysis of one name (score, four pillars,\n"
    "five grids, three talents, 81-number texts) and generated candidate names, in a Qt window\n"
    "(huimingfang) and on the command line (hmf, with JSON output; needs no display).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The dependencies are the shared libraries the programs link, found by dpkg-shlibdeps (Debian's
# libqt6gui6 carries the xcb and offscreen platform plugins itself). The report's font falls back
# to Noto Serif CJK where 宋体 is absent.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(HMF_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
endif()
include(CPack)
