goto start
note: not a label, its colon is far from the end
start:
match one the first
matchwait
one:
match two the second
matchwait
two:
goto note
