list(APPEND VOLTMETR_GUI_SOURCES
  exercise/zkouseni.h exercise/zkouseni.cpp)
