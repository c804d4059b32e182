list(APPEND VOLTMETR_CORE_SOURCES
  signin/profile.h signin/profile.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  signin/welcome.h signin/welcome.cpp)
