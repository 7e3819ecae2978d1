// The product's home page, named in the help of both programs.
#pragma once

#define CORVALE_HOME_PAGE "https://corvale.example.org/"
