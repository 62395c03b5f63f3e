nextroom
if1
if_ x
if
counter
counter add
counter  set 5
counter set  5
goto nowhere
goto %1
goto gotoend
end:
save
save save
waitfor
match x
match  x go
match nowhere go
abc:de
put	hello
# note:
x
