#include "shell/shell_state.h"

std::string buildWelcomeLine() {
    return "Welcome to Cablewright v1.0!   "
           "Turn the cables, wake up every computer and bring the whole office back onto the network. "
           "Watch out for the hidden viruses, clean what they infect, and let the FaxModems carry your "
           "signal across the room.   "
           "Cablewright is made with care by the Pelmar studio.   "
           "Our warm thanks go to everyone who played the early builds and told us what they felt, "
           "to our families for their patience during the long nights, and to the people and companies "
           "who build the free tools we work with every day.   "
           "Greetings to all puzzle lovers out there - have fun, and may all your links be green!";
}
