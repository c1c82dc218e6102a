# The Windows install kit: whirlbox.scr, whirlbox-tool.exe, the sample pictures, the install and
# uninstall scripts and, in the i686 build, the setup program, in one zip (build/<preset>/whirlbox-kit.zip).
# The i686 build's kit and its whirlbox-setup.exe (target whirlbox-setup, made by makensis) are the ones to hand out.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_kit ${CMAKE_BINARY_DIR}/kit)
set(_kit_zip ${CMAKE_BINARY_DIR}/whirlbox-kit.zip)
set(_kit_stamp ${CMAKE_BINARY_DIR}/kit.stamp)
set(_kit_files ${CMAKE_SOURCE_DIR}/scripts/kit/install.cmd ${CMAKE_SOURCE_DIR}/scripts/kit/uninstall.cmd
               ${CMAKE_SOURCE_DIR}/scripts/kit/README.txt ${CMAKE_SOURCE_DIR}/LICENSE.txt)
set(_kit_names whirlbox.scr whirlbox-tool.exe install.cmd uninstall.cmd README.txt LICENSE.txt samples)
add_custom_command(OUTPUT ${_kit_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_kit}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_kit}/samples
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/make_samples.py ${_kit}/samples
  COMMAND ${CMAKE_COMMAND} -E rm -f ${_kit}/samples/whirlbox.ini
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:whirlbox> $<TARGET_FILE:whirlbox-tool> ${_kit_files} ${_kit}
  COMMAND ${CMAKE_COMMAND} -E touch ${_kit_stamp}
  DEPENDS whirlbox whirlbox-tool ${_kit_files} ${CMAKE_SOURCE_DIR}/scripts/make_samples.py
  COMMENT "Staging the install kit")

# The setup program installs a 32-bit saver into the 32-bit system folder: only the i686 build makes it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  find_program(WHIRLBOX_MAKENSIS makensis REQUIRED)
  set(_setup ${CMAKE_BINARY_DIR}/whirlbox-setup.exe)
  set(_setup_script ${CMAKE_SOURCE_DIR}/scripts/kit/whirlbox-setup.nsi)
  set(_icon ${CMAKE_BINARY_DIR}/src/resources/whirlbox.ico)
  add_custom_command(OUTPUT ${_setup}
    COMMAND ${WHIRLBOX_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DSTAGE=${_kit} -DICON=${_icon}
            -DOUTFILE=${_setup} ${_setup_script}
    DEPENDS ${_kit_stamp} ${_setup_script} whirlbox_icon
    COMMENT "Making the setup program")
  add_custom_target(whirlbox-setup ALL DEPENDS ${_setup})
  list(APPEND _kit_names whirlbox-setup.exe)
  set(_kit_setup COMMAND ${CMAKE_COMMAND} -E copy ${_setup} ${_kit})
endif()

add_custom_command(OUTPUT ${_kit_zip}
  ${_kit_setup}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${_kit_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_kit} ${CMAKE_COMMAND} -E tar cf ${_kit_zip} --format=zip ${_kit_names}
  DEPENDS ${_kit_stamp} ${_setup}
  COMMENT "Packing the install kit")
add_custom_target(whirlbox_kit ALL DEPENDS ${_kit_zip})
