put look
goto nowhere
