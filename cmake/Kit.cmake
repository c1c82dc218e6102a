# The Windows install kit: whirlbox.scr, whirlbox-tool.exe, the sample pictures and the install and
# uninstall scripts in one zip (build/<preset>/whirlbox-kit.zip). The i686 build's kit is the one to hand out.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_kit ${CMAKE_BINARY_DIR}/kit)
set(_kit_zip ${CMAKE_BINARY_DIR}/whirlbox-kit.zip)
set(_kit_files ${CMAKE_SOURCE_DIR}/scripts/kit/install.cmd ${CMAKE_SOURCE_DIR}/scripts/kit/uninstall.cmd
               ${CMAKE_SOURCE_DIR}/scripts/kit/README.txt)
add_custom_command(OUTPUT ${_kit_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_kit}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_kit}/samples
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/make_samples.py ${_kit}/samples
  COMMAND ${CMAKE_COMMAND} -E rm -f ${_kit}/samples/whirlbox.ini
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:whirlbox> $<TARGET_FILE:whirlbox-tool> ${_kit_files} ${_kit}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_kit} ${CMAKE_COMMAND} -E tar cf ${_kit_zip} --format=zip
          whirlbox.scr whirlbox-tool.exe install.cmd uninstall.cmd README.txt samples
  DEPENDS whirlbox whirlbox-tool ${_kit_files} ${CMAKE_SOURCE_DIR}/scripts/make_samples.py
  COMMENT "Packing the install kit")
add_custom_target(whirlbox_kit ALL DEPENDS ${_kit_zip})
