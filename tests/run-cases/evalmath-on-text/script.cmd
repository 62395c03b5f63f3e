var x orc
evalmath y %x * 2
