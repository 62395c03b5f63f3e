matchre x /(a+)+$/
matchwait
x:
