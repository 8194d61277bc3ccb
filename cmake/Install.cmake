# What `cmake --install` lays out under the prefix. The two executables stay
# side by side, and the program finds its sounds and ready-made automations in
# share/rondelix beside its bin folder, and its network module in its own
# library folder.
include(GNUInstallDirs)

install(TARGETS rondelix rondelix_app RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS rondelix_http LIBRARY DESTINATION ${RONDELIX_MODULE_DIR})
install(TARGETS rondelix_svg_drawer RUNTIME DESTINATION ${RONDELIX_MODULE_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/sounds DESTINATION share/rondelix FILES_MATCHING PATTERN "*.wav")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/shortcuts DESTINATION share/rondelix USE_SOURCE_PERMISSIONS)
install(FILES ${CMAKE_SOURCE_DIR}/data/com.tovarel.Rondelix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/com.tovarel.Rondelix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
