# The resources of lumoa.exe: its version and the program's icon, which Explorer and the task
# bar show for the file. The icon's images are the PNG files skingen draws (LUMOA_ICON_DIR);
# Windows reads PNG images in an icon since Vista. The script (-P) writes the .rc, whose icon
# group needs each image's size, known only once the images are drawn.
if(CMAKE_SCRIPT_MODE_FILE)
  set(icons "")
  set(group "")
  set(id 100)
  list(LENGTH SIZES count)
  foreach(size ${SIZES})
    math(EXPR id "${id} + 1")
    set(png ${ICON_DIR}/lumoa-${size}.png)
    file(SIZE ${png} bytes)
    # An entry: width and height in one byte each (0 for 256), no palette, one plane, 32 bits,
    # the image's length and its resource ID.
    math(EXPR side "${size} % 256")
    math(EXPR wh "${side} | (${side} << 8)")
    string(APPEND icons "${id} 3 \"${png}\"\n")
    string(APPEND group ",\n  ${wh}, 0, 1, 32, ${bytes}L, ${id}")
  endforeach()
  string(REPLACE "." "," numeric "${VERSION}.0")
  file(WRITE ${OUT}.new "#include <winver.h>
${icons}
// The icon group: reserved, type 1 (icon), the count, then the entries.
1 14
BEGIN
  0, 1, ${count}${group}
END

1 VERSIONINFO
FILEVERSION ${numeric}
PRODUCTVERSION ${numeric}
FILEFLAGSMASK VS_FFI_FILEFLAGSMASK
FILEFLAGS 0
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_APP
FILESUBTYPE 0
BEGIN
  BLOCK \"StringFileInfo\"
  BEGIN
    BLOCK \"040904B0\"
    BEGIN
      VALUE \"CompanyName\", \"Lumoa\"
      VALUE \"FileDescription\", \"Lumoa search launcher\"
      VALUE \"FileVersion\", \"${VERSION}\"
      VALUE \"InternalName\", \"lumoa\"
      VALUE \"OriginalFilename\", \"lumoa.exe\"
      VALUE \"ProductName\", \"Lumoa\"
      VALUE \"ProductVersion\", \"${VERSION}\"
    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", 0x409, 1200
  END
END
")
  file(RENAME ${OUT}.new ${OUT})
  return()
endif()

# lumoa_windows_resources(TARGET): the version and icon resources linked into TARGET.
function(lumoa_windows_resources target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set(pngs "")
  foreach(size ${LUMOA_ICON_SIZES})
    list(APPEND pngs ${LUMOA_ICON_DIR}/lumoa-${size}.png)
  endforeach()
  add_custom_command(
    OUTPUT ${rc}
    COMMAND ${CMAKE_COMMAND} -DOUT=${rc} "-DSIZES=${LUMOA_ICON_SIZES}" -DICON_DIR=${LUMOA_ICON_DIR}
            -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/windows-resources.cmake
    DEPENDS ${pngs} ${CMAKE_SOURCE_DIR}/cmake/windows-resources.cmake skins
    COMMENT "Writing the version and icon resources"
    VERBATIM)
  target_sources(${target} PRIVATE ${rc})
endfunction()
