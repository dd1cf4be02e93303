# The Debian package carries the whole installation; the archive only the portable executable.
if(CPACK_GENERATOR STREQUAL "DEB")
    unset(CPACK_COMPONENTS_ALL)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
elseif(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_PACKAGING_INSTALL_PREFIX /)
endif()
